#include "plot_commands.h"

#include <QImage>
#include <QSize>
#include <cmath>
#include <map>
#include <ostream>

#include "arguments.h"
#include "catalogue/file_text.h"
#include "catalogue/parameter_window.h"
#include "catalogue/text_conversions.h"
#include "headless.h"
#include "plot/hpgl.h"
#include "plot/image_file.h"
#include "plot/plot_session.h"
#include "plot/readout.h"

namespace pc::cli {

namespace {

void Expect(const std::vector<std::string>& arguments, std::size_t count, const char* usage) {
    if (arguments.size() != count)
        throw CommandError{std::string("usage: ") + usage};
}

}  // namespace

bool PlotCommands::Execute(const std::string& command, const std::vector<std::string>& arguments) {
    using Handler = void (PlotCommands::*)(const std::vector<std::string>&);
    static const std::map<std::string, Handler> kCommands = {
        {"view", &PlotCommands::View},           {"grid", &PlotCommands::Grid},
        {"scalemode", &PlotCommands::ScaleMode}, {"zoommode", &PlotCommands::ZoomMode},
        {"arrow", &PlotCommands::Arrow},         {"wheel", &PlotCommands::Wheel},
        {"slider", &PlotCommands::Slider},       {"size", &PlotCommands::Size},
        {"render", &PlotCommands::Render},       {"hpgl", &PlotCommands::Hpgl},
        {"readout", &PlotCommands::Readout},     {"limits", &PlotCommands::Limits},
    };
    const auto handler = kCommands.find(command);
    if (handler == kCommands.end())
        return false;
    (this->*handler->second)(arguments);
    return true;
}

void PlotCommands::View(const std::vector<std::string>& arguments) {
    Expect(arguments, 6, "view XMIN XMAX YMIN YMAX PHIMIN PHIMAX");
    PlotSession& session = m_program.session;
    RangeFields& fields = session.fields;
    std::string* targets[] = {&fields.xmin, &fields.xmax,       &fields.ymin,
                              &fields.ymax, &fields.startValue, &fields.stopValue};
    // Each field is checked as it is left: a text that is no number is refused and the
    // field keeps its old text.
    for (std::size_t i = 0; i < 6; ++i) {
        std::string text = arguments[i];
        if (AcceptRangeField(text))
            *targets[i] = text;
        else
            session.GetNotifier().PlainMessage(kWrongInputText);
    }
    if (!ValidateUserRanges(session.main.view, fields))
        session.GetNotifier().PlainMessage("Error in Input Data. Please correct");
}

void PlotCommands::Grid(const std::vector<std::string>& arguments) {
    Expect(arguments, 1, "grid N");
    m_program.session.SetGridType(GridTypeFromByte(
        static_cast<std::uint8_t>(IntegerArgument(arguments[0], "grid type", 0, 255))));
}

void PlotCommands::ScaleMode(const std::vector<std::string>& arguments) {
    Expect(arguments, 1, "scalemode N");
    m_program.session.SetScaleMode(
        static_cast<pc::ScaleMode>(IntegerArgument(arguments[0], "scale mode", 0, 255)));
}

void PlotCommands::ZoomMode(const std::vector<std::string>& arguments) {
    Expect(arguments, 1, "zoommode on|off");
    if (arguments[0] != "on" && arguments[0] != "off")
        throw CommandError{"usage: zoommode on|off"};
    m_program.session.zoomMode = arguments[0] == "on";
}

void PlotCommands::Arrow(const std::vector<std::string>& arguments) {
    Expect(arguments, 1, "arrow up|down|left|right");
    PlotSession& session = m_program.session;
    const std::string& direction = arguments[0];
    if (direction == "up")
        session.ArrowUp();
    else if (direction == "down")
        session.ArrowDown();
    else if (direction == "left")
        session.ArrowLeft();
    else if (direction == "right")
        session.ArrowRight();
    else
        throw CommandError{"usage: arrow up|down|left|right"};
}

void PlotCommands::Wheel(const std::vector<std::string>& arguments) {
    Expect(arguments, 1, "wheel up|down");
    if (arguments[0] != "up" && arguments[0] != "down")
        throw CommandError{"usage: wheel up|down"};
    m_program.session.Wheel(arguments[0] == "up");
}

void PlotCommands::Slider(const std::vector<std::string>& arguments) {
    Expect(arguments, 2, "slider v|h POSITION");
    if (arguments[0] != "v" && arguments[0] != "h")
        throw CommandError{"usage: slider v|h POSITION"};
    m_program.session.ReleaseSlider(arguments[0] == "v",
                                    IntegerArgument(arguments[1], "slider position", 0, 10000));
}

void PlotCommands::Size(const std::vector<std::string>& arguments) {
    Expect(arguments, 2, "size W H");
    const int width = IntegerArgument(arguments[0], "width", kMinPanelSide, kMaxPanelSide);
    const int height = IntegerArgument(arguments[1], "height", kMinPanelSide, kMaxPanelSide);
    PlotSession& session = m_program.session;
    PanelGeometry panel = session.main.panel;
    panel.width = width;
    panel.height = height;
    session.Layout(session.main, panel);
}

void PlotCommands::Render(const std::vector<std::string>& arguments) {
    Expect(arguments, 1, "render FILE");
    PlotSurface& surface = m_program.session.main;
    const QSize image = surface.Image().deviceIndependentSize().toSize();
    std::string error;
    if (!SavePicture(m_program.session, surface, PixelSize{image.width(), image.height()}, 1.0,
                     arguments[0], error))
        m_program.notifier.PlainMessage(CannotSaveText(arguments[0], error));
}

void PlotCommands::Hpgl(const std::vector<std::string>& arguments) {
    Expect(arguments, 1, "hpgl FILE");
    std::string error;
    if (!WriteFileBytes(arguments[0], BuildHpgl(m_program.session, PlotterSettings{}), error))
        m_program.notifier.PlainMessage(CannotSaveText(arguments[0], error));
}

void PlotCommands::Readout(const std::vector<std::string>& arguments) {
    Expect(arguments, 2, "readout PX PY");
    const int px = IntegerArgument(arguments[0], "PX", -kDeviceLimit, kDeviceLimit);
    const int py = IntegerArgument(arguments[1], "PY", -kDeviceLimit, kDeviceLimit);
    PlotSession& session = m_program.session;
    const ReadoutTexts texts = pc::Readout(session, m_readout, px, py, session.angleInDegrees);
    if (!texts.inside) {
        m_out << "outside\n";
        return;
    }
    m_out << "xy [" << texts.lbx2 << "]\n";
    if (texts.polar)
        m_out << "rphi [" << texts.label2 << "]\n";
}

void PlotCommands::Limits(const std::vector<std::string>& arguments) {
    Expect(arguments, 0, "limits");
    PlotSession& session = m_program.session;
    for (const std::string& line :
         LimitLines(session.main.view.Range(), session.preview.view.Range()))
        m_out << line << '\n';
}

}  // namespace pc::cli
