#include "script.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <istream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "arguments.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_views.h"
#include "catalogue/configuration_file.h"
#include "catalogue/directories.h"
#include "catalogue/file_text.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_file.h"
#include "catalogue/function_manager.h"
#include "catalogue/funktion.h"
#include "catalogue/line_style.h"
#include "catalogue/message_catalogue.h"
#include "catalogue/notifier.h"
#include "catalogue/parameter_window.h"
#include "catalogue/startup_decisions.h"
#include "catalogue/text_conversions.h"
#include "catalogue/value_export.h"
#include "headless.h"
#include "plot_commands.h"

namespace pc::cli {

namespace {

class ScriptSession {
  public:
    explicit ScriptSession(std::ostream& out)
        : m_out(out),
          m_program(out),
          m_notifier(m_program.notifier),
          m_catalogue(m_program.catalogue),
          m_manager(m_program.manager),
          m_session(m_program.session),
          m_plotCommands(m_program, out) {
        m_program.LayOut(kScriptPanelWidth, kScriptPanelHeight);
    }

    void Execute(const std::string& line) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        std::vector<std::string> arguments;
        for (std::string word; words >> word;) arguments.push_back(word);
        // The definition of `enter` is the rest of the line as typed, blanks included.
        std::string rest = line.substr(line.find(command) + command.size());
        rest.erase(0, rest.find_first_not_of(" \t"));
        rest.erase(rest.find_last_not_of(" \t\r") + 1);

        using Handler =
            void (ScriptSession::*)(const std::vector<std::string>&, const std::string&);
        static const std::map<std::string, Handler> kCommands = {
            {"enter", &ScriptSession::Enter},
            {"select", &ScriptSession::Select},
            {"delete", &ScriptSession::Delete},
            {"drop", &ScriptSession::Drop},
            {"click", &ScriptSession::Click},
            {"rightclick", &ScriptSession::RightClick},
            {"remove", &ScriptSession::Remove},
            {"param", &ScriptSession::Param},
            {"style", &ScriptSession::Style},
            {"language", &ScriptSession::Language},
            {"redraw", &ScriptSession::Redraw},
            {"dump", &ScriptSession::Dump},
            {"tree", &ScriptSession::Tree},
            {"legend", &ScriptSession::Legend},
            {"items", &ScriptSession::Items},
            {"load", &ScriptSession::Load},
            {"save", &ScriptSession::Save},
            {"savetable", &ScriptSession::SaveTable},
            {"saveinfo", &ScriptSession::SaveInfo},
            {"args", &ScriptSession::Args},
            {"resolution", &ScriptSession::Resolution},
            {"drop-files", &ScriptSession::DropFiles},
            {"readconfig", &ScriptSession::ReadConfig},
            {"writeconfig", &ScriptSession::WriteConfig},
        };
        const auto handler = kCommands.find(command);
        try {
            if (handler != kCommands.end())
                (this->*handler->second)(arguments, rest);
            else if (!m_plotCommands.Execute(command, arguments))
                throw CommandError{"unknown command '" + command + "'"};
        } catch (const CommandError& error) {
            m_out << "error: " << error.reason << '\n';
        }
    }

  private:
    static void Expect(const std::vector<std::string>& arguments, std::size_t count,
                       const char* usage) {
        if (arguments.size() != count)
            throw CommandError{std::string("usage: ") + usage};
    }

    static std::int64_t NowMs() {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

    // The selection line that shows `function`.
    int LineOf(const TFunktion* function) const {
        const std::string line = function->FullString();
        for (std::size_t i = 0; i < m_catalogue.SelectionList().size(); ++i) {
            if (m_catalogue.SelectionList()[i] == line)
                return static_cast<int>(i);
        }
        return -1;
    }

    void Enter(const std::vector<std::string>&, const std::string& rest) {
        if (rest.empty())
            throw CommandError{"usage: enter DEFINITION"};
        m_manager.SetInputLine(rest);
        m_manager.Enter();
    }

    void Select(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 1, "select N");
        const int line = IntegerArgument(arguments[0], "line");
        if (line < 0 || static_cast<std::size_t>(line) >= m_catalogue.SelectionList().size())
            throw CommandError{"no selection line " + arguments[0]};
        m_manager.SelectDefinition(line);
    }

    void Delete(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 1, "delete N");
        const int line = IntegerArgument(arguments[0], "line");
        if (line < 0 || static_cast<std::size_t>(line) >= m_catalogue.SelectionList().size())
            throw CommandError{"no selection line " + arguments[0]};
        m_manager.SelectDefinition(line);
        m_manager.DeleteFunction(line);
    }

    void Drop(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 3, "drop NAME ROW COL");
        const int row = IntegerArgument(arguments[1], "row");
        const int column = IntegerArgument(arguments[2], "column");
        const TFunktion* function = m_catalogue.FindFunctionByName(arguments[0]);
        const int line = function ? LineOf(function) : -1;
        if (line < 0)
            throw CommandError{"no function " + arguments[0] + " in the selection list"};
        m_manager.SelectDefinition(line);
        if (!m_manager.AcceptsDrop(row, column))
            throw CommandError{"the grid does not accept a drop on row " + arguments[1] +
                               " column " + arguments[2]};
        m_manager.Drop(row, column);
    }

    void Click(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 2, "click ROW COL");
        m_manager.LeftClick(IntegerArgument(arguments[0], "row"),
                            IntegerArgument(arguments[1], "column"), NowMs());
        m_manager.MouseRelease();
    }

    void RightClick(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 2, "rightclick ROW COL");
        const int row = IntegerArgument(arguments[0], "row");
        const int column = IntegerArgument(arguments[1], "column");
        if (!m_manager.OffersRemove(row, column))
            throw CommandError{"no popup on row " + arguments[0] + " column " + arguments[1]};
    }

    void Remove(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 2, "remove ROW COL");
        const int row = IntegerArgument(arguments[0], "row");
        const int column = IntegerArgument(arguments[1], "column");
        if (!m_manager.OffersRemove(row, column))
            throw CommandError{"no popup on row " + arguments[0] + " column " + arguments[1]};
        m_manager.Remove(row, column);
    }

    void Param(const std::vector<std::string>& arguments, const std::string&) {
        if (arguments.size() < 2)
            throw CommandError{"usage: param NAME list|auto|file ..."};
        ParameterWindow window(m_catalogue);
        if (!window.OpenParameter(arguments[0]))
            throw CommandError{"no parameter " + arguments[0]};
        ParameterFields& fields = window.Fields();
        const std::string& source = arguments[1];
        if (source == "list") {
            fields.source = TValueSource::vsList;
            fields.listLines.assign(arguments.begin() + 2, arguments.end());
        } else if (source == "auto") {
            Expect(arguments, 5, "param NAME auto START STOP COUNT");
            fields.source = TValueSource::vsAutomatic;
            fields.startText = arguments[2];
            fields.stopText = arguments[3];
            fields.countText = arguments[4];
        } else if (source == "file") {
            Expect(arguments, 3, "param NAME file PATH");
            fields.source = TValueSource::vsFile;
            fields.tableFileName = arguments[2];
        } else {
            throw CommandError{"unknown value source '" + source + "'"};
        }
        if (!window.Ok())
            throw CommandError{"parameter " + arguments[0] + ": a field is not a number"};
    }

    void Style(const std::vector<std::string>& arguments, const std::string&) {
        if (arguments.empty())
            throw CommandError{"usage: style ROW [color=C] [pen=P] [width=W] [mode=M] [points=N]"};
        const int row = IntegerArgument(arguments[0], "row");
        if (row < 0 || static_cast<std::size_t>(row) >= m_catalogue.Items().size())
            throw CommandError{"no item on row " + arguments[0]};
        TFktItem& item = *m_catalogue.Items()[static_cast<std::size_t>(row)];
        m_catalogue.SetCurrentItem(&item);
        LineStyleFields fields = OpenLineStyle(m_catalogue, item, m_session.gridType).fields;
        for (std::size_t i = 1; i < arguments.size(); ++i) {
            const auto equals = arguments[i].find('=');
            const std::string key = arguments[i].substr(0, equals);
            const std::string value =
                equals == std::string::npos ? "" : arguments[i].substr(equals + 1);
            if (key == "color") {
                const long long colour = IntegerArgument(value, "color");
                if (colour < 0 || colour > 0xFFFFFF)
                    throw CommandError{"color " + value + " is not 0x00BBGGRR"};
                fields.colour = static_cast<TColor>(colour);
            } else if (key == "pen") {
                fields.penStyle = IntegerArgument(value, "pen");
                if (fields.penStyle < 0 || fields.penStyle > Ordinal(TPenStyle::psClear))
                    throw CommandError{"pen " + value + " is not 0..5"};
            } else if (key == "width") {
                fields.widthIndex = IntegerArgument(value, "width") - 1;
                if (fields.widthIndex < 0 || fields.widthIndex > 5)
                    throw CommandError{"width " + value + " is not 1..6"};
            } else if (key == "mode") {
                fields.displayMode = IntegerArgument(value, "mode");
                if (fields.displayMode < 0 || fields.displayMode >= kDisplayModeCount)
                    throw CommandError{"mode " + value + " is not 0..16"};
            } else if (key == "points") {
                fields.pointsText = value;  // the field takes any text; OK judges it
            } else {
                throw CommandError{"unknown style key '" + key + "'"};
            }
        }
        LineStyleOk(m_manager, fields);
    }

    void Language(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 1, "language en|de");
        if (arguments[0] == "en")
            m_catalogue.SetLanguage(pc::Language::English);
        else if (arguments[0] == "de")
            m_catalogue.SetLanguage(pc::Language::German);
        else
            throw CommandError{"unknown language '" + arguments[0] + "'"};
    }

    void Redraw(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 0, "redraw");
        m_manager.Redraw();
    }

    void Dump(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 0, "dump");
        for (const std::string& line :
             DumpText(m_catalogue, m_session.main.view.Range(), m_session.preview.view.Range()))
            m_out << line << '\n';
    }

    void PrintTree(const DependencyNode& node, int depth) {
        const std::uint32_t colour = DependencyNodeColour(m_catalogue, node.label);
        const char* name = colour == kNodeInvalid   ? "red"
                           : colour == kNodeMissing ? "green"
                                                    : "black";
        m_out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << node.label << " [" << name
              << "]\n";
        for (const DependencyNode& child : node.children) PrintTree(child, depth + 1);
    }

    void Tree(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 0, "tree");
        for (const DependencyNode& root : DependencyTree(m_catalogue)) PrintTree(root, 0);
    }

    void Legend(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 0, "legend");
        for (const LegendEntry& entry : LegendEntries(m_catalogue)) {
            m_out << entry.text << (entry.item->active ? " *" : "")
                  << (entry.item->Referenz ? " REF" : "") << '\n';
        }
    }

    void Items(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 0, "items");
        for (std::size_t row = 0; row < m_catalogue.Items().size(); ++row) {
            const TFktItem& item = *m_catalogue.Items()[row];
            m_out << row << ' ' << FktTypText(item.FktTyp()) << ' '
                  << (item.Funktion1 ? item.Funktion1->LeftName() : "nil") << ' '
                  << (item.Funktion2 ? item.Funktion2->LeftName() : "nil")
                  << (item.valid ? " valid" : "") << (item.Darstellung ? " shown" : "")
                  << (item.active ? " active" : "") << (item.Referenz ? " ref" : "") << ' '
                  << item.FeldListenListeM.size() << '\n';
        }
    }

    void Load(const std::vector<std::string>&, const std::string& path) {
        if (path.empty())
            throw CommandError{"usage: load FILE"};
        m_program.LoadFunctionFile(path);
    }

    void Save(const std::vector<std::string>&, const std::string& path) {
        if (path.empty())
            throw CommandError{"usage: save FILE"};
        SaveFunctionFileAndReport(m_catalogue, m_session.CurrentView(), path);
    }

    TFktItem& ItemOnRow(const std::string& text) {
        const int row = IntegerArgument(text, "row");
        if (row < 0 || static_cast<std::size_t>(row) >= m_catalogue.Items().size())
            throw CommandError{"no item on row " + text};
        return *m_catalogue.Items()[static_cast<std::size_t>(row)];
    }

    void ReportSaveFailure(const std::string& path, const std::string& error) {
        m_notifier.PlainMessage(CannotSaveText(path, error));
    }

    void SaveTable(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 2, "savetable ROW FILE");
        std::string error;
        if (!WriteValueTable(ItemOnRow(arguments[0]), arguments[1], error))
            ReportSaveFailure(arguments[1], error);
    }

    void SaveInfo(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 2, "saveinfo ROW FILE");
        std::string error;
        const std::vector<std::string> lines =
            BuildFunctionInfo(m_catalogue, ItemOnRow(arguments[0]));
        if (!SaveExportText(lines, arguments[1], error))
            ReportSaveFailure(arguments[1], error);
    }

    static bool IsFile(const std::string& path) {
        std::error_code ignored;
        return std::filesystem::is_regular_file(path, ignored);
    }

    void Args(const std::vector<std::string>& arguments, const std::string&) {
        const CommandLineDecision decision =
            DecideCommandLine(arguments, IsFile, InstallDirectory(), UserDirectory());
        if (decision.message != 0)
            m_out << "message " << decision.message << '\n';
        if (decision.ends) {
            m_out << "end\n";
            return;
        }
        if (decision.functionFile)
            m_out << "functions " << *decision.functionFile << '\n';
        if (decision.configurationFile)
            m_out << "config " << *decision.configurationFile << '\n';
    }

    void Resolution(const std::vector<std::string>& arguments, const std::string&) {
        Expect(arguments, 2, "resolution W H");
        const auto file = ResolutionConfigurationFile(IntegerArgument(arguments[0], "width"),
                                                      IntegerArgument(arguments[1], "height"));
        m_out << (file ? *file : "none") << '\n';
    }

    void DropFiles(const std::vector<std::string>& arguments, const std::string&) {
        const DropDecision decision = DecideDrop(arguments);
        if (decision.message != 0)
            m_out << "message " << decision.message << '\n';
        if (decision.functionFile)
            m_out << "functions " << *decision.functionFile << '\n';
        if (decision.configurationFile)
            m_out << "config " << *decision.configurationFile << '\n';
    }

    void ReadConfig(const std::vector<std::string>&, const std::string& path) {
        if (path.empty())
            throw CommandError{"usage: readconfig FILE"};
        // The program would end at 303 without applying anything; the script goes on.
        m_program.ReadConfiguration(path, kScriptScreenWidth, kScriptScreenHeight);
    }

    void WriteConfig(const std::vector<std::string>&, const std::string& path) {
        if (path.empty())
            throw CommandError{"usage: writeconfig FILE"};
        std::string error;
        if (!WriteConfigurationFile(path, m_program.configuration, error))
            ReportSaveFailure(path, error);
    }

    // The screen a script runs on, for the configuration's fallback rules.
    static constexpr int kScriptScreenWidth = 1920;
    static constexpr int kScriptScreenHeight = 1080;

    // The main plot's panel until a `size` command changes it.
    static constexpr int kScriptPanelWidth = 800;
    static constexpr int kScriptPanelHeight = 600;

    std::ostream& m_out;
    HeadlessProgram m_program;
    PrintingNotifier& m_notifier;
    Catalogue& m_catalogue;
    FunctionManager& m_manager;
    PlotSession& m_session;
    PlotCommands m_plotCommands;
};

// The longest script line taken. Input without line ends (a device such as /dev/zero)
// would otherwise grow one line until memory runs out.
constexpr std::size_t kMaxScriptLineBytes = 1u << 20;

// The next line of `in` without its "\n"; false at the end of the input. A line longer
// than kMaxScriptLineBytes is read to its end but not kept, and sets `tooLong`.
bool ReadScriptLine(std::istream& in, std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    std::streambuf& buffer = *in.rdbuf();
    bool any = false;
    for (int ch = buffer.sbumpc(); ch != std::char_traits<char>::eof(); ch = buffer.sbumpc()) {
        any = true;
        if (ch == '\n')
            return true;
        if (line.size() < kMaxScriptLineBytes)
            line += static_cast<char>(ch);
        else
            tooLong = true;
    }
    in.setstate(std::ios::eofbit);
    return any;
}

}  // namespace

void RunScript(std::istream& in, std::ostream& out) {
    EnsureGuiApplication();
    ScriptSession session(out);
    std::string line;
    for (bool tooLong = false; ReadScriptLine(in, line, tooLong);) {
        if (tooLong) {
            out << "error: a line longer than " << (kMaxScriptLineBytes >> 20) << " MB\n";
            continue;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        session.Execute(line.substr(first));
    }
}

}  // namespace pc::cli
