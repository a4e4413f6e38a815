#pragma once
// Helpers shared by the catalogue tests: a notifier and an observer that record what
// the model tells the windows, and a catalogue wired to both with a function manager.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_observer.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/funktion.h"
#include "catalogue/message_catalogue.h"
#include "catalogue/notifier.h"

namespace pc::test {

// One numbered message as the model asked for it.
struct NumberedMessage {
    std::uint8_t language = 0;
    int number = 0;
    ButtonSet buttons = ButtonSet::Ok;
};

// Records every message in order; numbered messages answer `answer`.
class RecordingNotifier : public Notifier {
  public:
    void plainMessage(const std::string& text) override {
        plain.push_back(text);
        order.push_back("plain:" + text);
    }

    int showMessage(std::uint8_t language, int number, ButtonSet buttons) override {
        numbered.push_back({language, number, buttons});
        order.push_back("message:" + std::to_string(number));
        return answer;
    }

    // The numbers of the numbered messages, in order.
    std::vector<int> numbers() const {
        std::vector<int> result;
        for (const NumberedMessage& message : numbered) result.push_back(message.number);
        return result;
    }

    bool empty() const { return order.empty(); }

    void clear() {
        plain.clear();
        numbered.clear();
        order.clear();
    }

    std::vector<std::string> plain;
    std::vector<NumberedMessage> numbered;
    // Both kinds interleaved: "plain:<text>" or "message:<number>".
    std::vector<std::string> order;
    int answer = mrOk;
};

// Counts and records what the catalogue asks of the windows.
class RecordingObserver : public CatalogueObserver {
  public:
    void setPlotsReady(bool ready) override { plotsReady.push_back(ready); }
    void setScaleMode(std::uint8_t mode) override { scaleModes.push_back(mode); }
    void redrawPlots() override { ++redraws; }
    void clearPlots() override { ++clears; }
    void applySettingsLimits() override { ++settingsApplied; }
    void legendChanged() override { ++legendChanges; }
    void dependencyTreeChanged() override { ++treeChanges; }
    void documentModified() override { ++modifications; }
    void raiseManager() override { ++managerRaised; }
    void setAnimateVisible(bool visible) override { animateVisible.push_back(visible); }

    void clear() { *this = RecordingObserver(); }

    std::vector<bool> plotsReady;
    std::vector<std::uint8_t> scaleModes;
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

    CatalogueFixture() { catalogue.setObserver(&observer); }
    CatalogueFixture(const CatalogueFixture&) = delete;
    CatalogueFixture& operator=(const CatalogueFixture&) = delete;

    // Types `line` into the manager's input line and presses Enter.
    void Enter(const std::string& line) {
        manager.setInputLine(line);
        manager.Enter();
    }

    TFunktion* Find(const std::string& name) { return catalogue.FindFunctionByName(name); }

    // Appends an item showing `first` (and `second` for ftxtyt) and returns it.
    TFktItem& AddItem(TFunktion* first, TFunktion* second = nullptr, TFktTyp type = fty) {
        auto item = std::make_unique<TFktItem>();
        item->SetFktTyp(type);
        item->Funktion1 = first;
        item->Funktion2 = second;
        item->Darstellung = true;
        catalogue.displayList.push_back(std::move(item));
        return *catalogue.displayList.back();
    }
};

// Types `line` into the manager's input line and presses Enter.
inline void Enter(FunctionManager& manager, const std::string& line) {
    manager.setInputLine(line);
    manager.Enter();
}

}  // namespace pc::test
