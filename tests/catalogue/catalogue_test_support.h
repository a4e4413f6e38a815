#pragma once
// Helpers shared by the catalogue tests: a notifier and an observer that record what
// the model tells the windows, a catalogue wired to both with a function manager, and a
// scratch folder for the files a test writes and reads.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_observer.h"
#include "catalogue/catalogue_types.h"
#include "catalogue/file_text.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/funktion.h"
#include "catalogue/message_catalogue.h"
#include "catalogue/notifier.h"
#include "catalogue/parameter.h"

namespace pc::test {

using Names = std::vector<std::string>;

// The file's bytes as they are; empty when it cannot be read.
inline std::string FileBytes(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// The lines of a file as the program's readers see them.
inline Names FileLines(const std::string& path, std::uint64_t maxBytes) {
    const TextFile file = ReadTextFile(path, maxBytes);
    EXPECT_EQ(file.status, TextFileStatus::Read) << path << ": " << file.error;
    return file.lines;
}

// Every field of a parameter item, to compare at once; a failure prints both items whole.
inline auto AllFields(const TParameterItem& item) {
    return std::tie(item.name, item.valueSource, item.startValue, item.stopValue,
                    item.automaticCount, item.tableFileName, item.storedFileCount, item.fileValues,
                    item.listCount, item.listValues, item.currentCount, item.animate);
}

// A fresh folder for one test's files, removed afterwards.
struct Folder {
    QTemporaryDir directory;

    std::string Path(const std::string& name) const {
        return directory.filePath(QString::fromStdString(name)).toStdString();
    }
    std::string Read(const std::string& name) const { return FileBytes(Path(name)); }
    // Writes `bytes` as they are and returns the file's path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }
    // Every entry, hidden ones included: a temporary file left behind shows here.
    Names Entries() const {
        Names names;
        for (const auto& entry :
             std::filesystem::directory_iterator(directory.path().toStdString()))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

// Records every message; numbered messages are answered with OK.
class RecordingNotifier : public Notifier {
  public:
    void PlainMessage(const std::string& text) override { plain.push_back(text); }
    ModalResult ShowMessage(Language language, int number, ButtonSet /*buttons*/) override {
        languages.push_back(language);
        numbers.push_back(number);
        return ModalResult::mrOk;
    }

    bool empty() const { return plain.empty() && numbers.empty(); }
    void clear() { *this = RecordingNotifier(); }

    Names plain;
    std::vector<int> numbers;
    std::vector<Language> languages;
};

// Counts and records what the catalogue asks of the windows.
class RecordingObserver : public CatalogueObserver {
  public:
    void SetPlotsReady(bool ready) override { plotsReady.push_back(ready); }
    void SetScaleMode(ScaleMode mode) override { scaleModes.push_back(mode); }
    void RedrawPlots() override { ++redraws; }
    void ClearPlots() override { ++clears; }
    void ApplySettingsLimits() override { ++settingsApplied; }
    void LegendChanged() override { ++legendChanges; }
    void DependencyTreeChanged() override { ++treeChanges; }
    void DocumentModified() override { ++modifications; }
    void RaiseManager() override { ++managerRaised; }
    void SetAnimateVisible(bool visible) override { animateVisible.push_back(visible); }

    void clear() { *this = RecordingObserver(); }

    std::vector<bool> plotsReady;
    std::vector<ScaleMode> scaleModes;
    int redraws = 0;
    int clears = 0;
    int settingsApplied = 0;
    int legendChanges = 0;
    int treeChanges = 0;
    int modifications = 0;
    int managerRaised = 0;
    std::vector<bool> animateVisible;
};

// A catalogue wired to a recording notifier and observer, with a function manager on it.
// Not copyable or movable: the catalogue and manager hold references into it.
struct CatalogueFixture {
    RecordingNotifier notifier;
    RecordingObserver observer;
    Catalogue catalogue{notifier};
    FunctionManager manager{catalogue};

    CatalogueFixture() { catalogue.SetObserver(&observer); }
    CatalogueFixture(const CatalogueFixture&) = delete;
    CatalogueFixture& operator=(const CatalogueFixture&) = delete;

    // Types `line` into the manager's input line and presses Enter.
    void Enter(const std::string& line) {
        manager.SetInputLine(line);
        manager.Enter();
    }

    // Enters `line` straight into the catalogue, without the manager's re-entry, and
    // returns the function it names.
    TFunktion* Define(const std::string& line) {
        catalogue.EnterDefinition(line);
        return Find(line.substr(0, line.find('(')));
    }

    TFunktion* Find(const std::string& name) { return catalogue.FindFunctionByName(name); }

    // Drags the selection line of function `name` onto (row, column); whether it was taken.
    bool DropFunction(const std::string& name, int row, int column) {
        const Names& lines = catalogue.SelectionList();
        int line = -1;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].starts_with(name + "("))
                line = static_cast<int>(i);
        }
        manager.SelectDefinition(line);
        return manager.Drop(row, column);
    }

    Names FunctionNames() const {
        Names names;
        for (const auto& function : catalogue.Functions()) names.push_back(function->Funktionsname);
        return names;
    }

    // Appends a shown item of `first` (and `second` for ftxtyt) and returns it.
    TFktItem& AddItem(TFunktion* first, TFunktion* second = nullptr, TFktTyp type = TFktTyp::fty) {
        auto item = std::make_unique<TFktItem>();
        item->SetFktTyp(type);
        item->Funktion1 = first;
        item->Funktion2 = second;
        item->Darstellung = true;
        return catalogue.AddItem(std::move(item));
    }

    TFktItem& ItemAt(std::size_t row) { return *catalogue.Items().at(row); }

    // Every item as "type first second" ("-" for a missing function) and its flags that
    // are set, e.g. "ftxtyt F1 - valid shown active reference".
    Names Items() const {
        const auto name = [](const TFunktion* function) {
            return function ? function->Funktionsname : std::string("-");
        };
        Names rows;
        for (const auto& item : catalogue.Items()) {
            rows.push_back(std::string(FktTypText(item->FktTyp())) + " " + name(item->Funktion1) +
                           " " + name(item->Funktion2) + (item->valid ? " valid" : "") +
                           (item->Darstellung ? " shown" : "") + (item->active ? " active" : "") +
                           (item->Referenz ? " reference" : ""));
        }
        return rows;
    }
};

}  // namespace pc::test
