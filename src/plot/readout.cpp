#include "readout.h"

#include <cmath>

#include "catalogue/configuration_file.h"
#include "engine/decimal_log.h"
#include "engine/number_text.h"
#include "plot_session.h"

namespace pc {

std::string FormatReadoutNumber(Extended value) {
    const Extended magnitude = std::fabs(value);
    if (value == 0 || (magnitude >= 0.0001L && magnitude <= 10000))
        return FormatFixed(value, 5, 5);
    return FormatExponent(value, 5, 11);
}

ReadoutTexts Readout(PlotSession& session, ReadoutState& state, std::int32_t px, std::int32_t py,
                     bool angleInDegrees) {
    ReadoutTexts texts;
    const PlotView& v = session.main.view;
    if (px < v.marginLeft || px > v.plotRight || py < v.marginTop || py > v.plotBottom) {
        const std::string blank(12, ' ');
        texts.label1 = texts.lbx2 = texts.label6 = texts.label9 = texts.label2 = blank;
        return texts;
    }
    const GridType gridType = session.gridType;
    texts.inside = true;
    texts.polar = gridType == GridType::gtPolar;
    texts.label1 = "(x, y) ";
    texts.label6 = "(r, ";
    texts.label9 = "j)";
    const WorldPoint world = DeviceToWorld(v, gridType, px, py);
    const auto db = [](Extended value) { return 20 * Log10(value); };
    switch (gridType) {
        case GridType::gtLinDb:
        case GridType::gtLogDb:
            state = {world.x, db(world.y)};
            break;
        case GridType::gtDbLin:
        case GridType::gtDbLog:
            state = {db(world.x), world.y};
            break;
        case GridType::gtDbDb:
            state = {db(world.x), db(world.y)};
            break;
        case GridType::gtPolar: {
            const Extended r = std::hypot(world.x, world.y);
            Extended phi = std::atan2(world.y, world.x);
            if (phi < 0)
                phi += 2 * kPi;
            phi *= AngleFactor(angleInDegrees);
            texts.label2 = "(" + FormatReadoutNumber(r) + ", " + FormatReadoutNumber(phi) +
                           AngleUnit(angleInDegrees) + ")" + std::string(24, ' ');
            if (world.valid)
                state = {world.x, world.y};
            break;
        }
        default:
            if (world.valid)
                state = {world.x, world.y};
            break;
    }
    const std::string xUnit = HorizontalUnit(gridType);
    const std::string yUnit = VerticalUnit(gridType);
    const std::string x = world.valid ? FormatReadoutNumber(state.x) : std::string("NAN");
    texts.lbx2 = "(" + x + xUnit + ", " + FormatReadoutNumber(state.y) + yUnit + ")     ";
    return texts;
}

}  // namespace pc
