#include "plot/grid_labels.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QXmlStreamReader>
#include <array>
#include <numbers>

#include "plot_test_support.h"

namespace pc {
namespace {

using test::Names;

// Each case: the ticks of one axis and what they read, all in one form. The expected
// texts are the ticks' own decimal values, cut to the digits that tell them apart.
TEST(AxisLabels, OneFormPerAxisWithTheFewestDigitsThatTellTicksApart) {
    const Extended near1 = 2e-13L;  // NiceStep's step for a window 1e-12 wide
    const struct {
        std::vector<Extended> ticks;
        Names texts;
    } cases[] = {
        {{0, 2, 4, 6, 8, 10}, {"0", "2", "4", "6", "8", "10"}},
        {{-0.5L, -0.25L, 0, 0.25L}, {"-0.5", "-0.25", "0", "0.25"}},
        // A zero that the stepping left a rounding error from is still "0".
        {{-0.2L, -0.1L, -0.2L + 2 * 0.1L, 0.1L}, {"-0.2", "-0.1", "0", "0.1"}},
        {{1 - 2 * near1, 1 - near1, 1, 1 + near1},
         {"0.9999999999996", "0.9999999999998", "1", "1.0000000000002"}},
        {{4e21L, 6e21L, 8e21L, 1e22L}, {"4E21", "6E21", "8E21", "1E22"}},
        // Never 8000000 beside 1.2E7: a magnitude from 1e6 puts the whole axis in exponents.
        {{6e6L, 8e6L, 1e7L, 1.2e7L, 1.4e7L}, {"6E6", "8E6", "1E7", "1.2E7", "1.4E7"}},
        {{999990, 999995, 1000000}, {"9.9999E5", "9.99995E5", "1E6"}},
        {{0, 2e-6L, 4e-6L, -1.5e-7L}, {"0", "2E-6", "4E-6", "-1.5E-7"}},
        {{0.001L, 0.00101L, 0.00102L}, {"0.001", "0.00101", "0.00102"}},
        {{0.3L}, {"0.3"}},
        {{}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(AxisLabels(c.ticks), c.texts);
}

TEST(AxisLabels, AnglesInDegreesOrRadians) {
    constexpr Extended pi = std::numbers::pi_v<Extended>;
    const std::vector<Extended> twelfths = {0,  pi / 12,    pi / 6,     pi / 2,
                                            pi, 3 * pi / 2, 11 * pi / 6};
    EXPECT_EQ(AngleLabels(twelfths, true),
              (Names{"0°", "15°", "30°", "90°", "180°", "270°", "330°"}));
    EXPECT_EQ(AngleLabels(twelfths, false),
              (Names{"0", "π/12", "π/6", "π/2", "π", "3π/2", "11π/6"}));
    // Five degrees are no twelfth of π: every angle in radians, to the digits of a step
    // of 0.0873.
    const std::vector<Extended> fives = {0, 5 * pi / 180, 10 * pi / 180};
    EXPECT_EQ(AngleLabels(fives, false), (Names{"0", "0.0873", "0.1745"}));
}

// A <text> element of an SVG picture with the box its font gives it on an image, where the
// plot measures its labels.
struct SvgText {
    QString text;
    QRect box;
};

std::vector<SvgText> TextsOf(const QByteArray& svg) {
    std::vector<SvgText> texts;
    const QImage device(1, 1, QImage::Format_RGB32);
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"text")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        QFont font(a.value("font-family").toString().remove('"'));
        // The size is in the picture's pixels.
        font.setPointSizeF(a.value("font-size").toDouble() * 72 / device.logicalDpiY());
        font.setWeight(static_cast<QFont::Weight>(a.value("font-weight").toInt()));
        const QFontMetrics metrics(font, &device);
        const QString text = xml.readElementText();
        const int x = qRound(a.value("x").toDouble());
        const int baseline = qRound(a.value("y").toDouble());
        texts.push_back({text, QRect(x, baseline - metrics.ascent(),
                                     metrics.horizontalAdvance(text), metrics.height())});
    }
    return texts;
}

struct Picture : test::PlotFixture {
    // `definition` drawn in the new drawing on a `width` x `height` panel, with the user's
    // ranges x, y and the variable's.
    Picture(const char* definition, GridType type, const std::array<const char*, 6>& ranges,
            int width, int height) {
        session.SetClassicDrawing(false);
        Show(definition);
        UserView(ranges[0], ranges[1], ranges[2], ranges[3], ranges[4], ranges[5]);
        session.SetGridType(type, false);
        session.main.panel = PanelGeometry{width, height, 0, 0};
        session.RedrawSurface(session.main);
    }
    QRect Canvas() const {
        return QRect(0, 0, session.main.controlWidth, session.main.controlHeight);
    }
    std::vector<SvgText> Texts() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(Canvas().size());
        generator.setViewBox(Canvas());
        generator.setResolution(QImage(1, 1, QImage::Format_RGB32).logicalDpiX());
        {
            QPainter painter(&generator);
            PaintPicture(session.main, painter, catalogue.Items(), session.gridType, true);
        }
        return TextsOf(buffer.data());
    }
};

// Every label of the new drawing lies inside the picture and clear of every other, on each
// kind of grid, small and large.
TEST(ArrangeLabels, EveryLabelInsideThePictureAndNoneOverlapping) {
    const struct {
        const char* definition;
        GridType type;
        std::array<const char*, 6> ranges;
    } cases[] = {
        {"F1(X)=SIN(X)*X", GridType::gtLinLin, {"-20", "20", "-20", "20", "-20", "20"}},
        {"F1(X)=X*X", GridType::gtLinLin, {"5E6", "1.5E7", "0", "2.2E14", "5E6", "1.5E7"}},
        {"F1(X)=EXP(X)", GridType::gtLinLog, {"0", "100", "1", "1E43", "0", "100"}},
        {"F1(X)=X*X", GridType::gtLogLog, {"1E-3", "1E3", "1E-6", "1E6", "1E-3", "1E3"}},
        {"F1(X)=X", GridType::gtLogLog, {"2", "30", "2", "30", "2", "30"}},
        // The magnitude of a first-order low pass.
        {"F1(X)=1/SQRT(1+X*X)", GridType::gtLogDb, {"0.01", "100", "0.001", "2", "0.01", "100"}},
        {"F1(X)=X", GridType::gtDbLin, {"0.1", "1000", "0", "1000", "0.1", "1000"}},
        {"F1(X)=SIN(3*X)", GridType::gtPolar, {"-1", "1", "-1", "1", "0", "6.3"}},
        {"F1(X)=1+X/10", GridType::gtPolar, {"0.5", "3", "-1", "1", "-1", "1"}},
    };
    for (const auto& c : cases) {
        for (const auto& [width, height] : {std::pair{200, 150}, std::pair{1000, 700}}) {
            SCOPED_TRACE(std::string(c.definition) + " " + std::to_string(Ordinal(c.type)) + " " +
                         c.ranges[0] + " at " + std::to_string(width));
            Picture picture(c.definition, c.type, c.ranges, width, height);
            const std::vector<SvgText> texts = picture.Texts();
            EXPECT_GE(texts.size(), 4u);
            for (std::size_t i = 0; i < texts.size(); ++i) {
                EXPECT_TRUE(picture.Canvas().contains(texts[i].box)) << texts[i].text.toStdString();
                for (std::size_t j = 0; j < i; ++j) {
                    EXPECT_FALSE(texts[i].box.intersects(texts[j].box))
                        << texts[i].text.toStdString() << " " << texts[j].text.toStdString();
                }
            }
        }
    }
}

// At 200 x 150 four decades leave room for the decades alone, on both axes.
TEST(ArrangeLabels, SmallLogLogPlotReadsItsDecades) {
    Picture picture("F1(X)=X", GridType::gtLogLog, {"0.01", "100", "0.01", "100", "0.01", "100"},
                    200, 150);
    Names below, beside;
    for (const SvgText& text : picture.Texts()) {
        const bool under = text.box.top() > picture.session.main.view.plotBottom;
        (under ? below : beside).push_back(text.text.toStdString());
    }
    std::sort(beside.begin(), beside.end());
    const Names decades = {"1E-1", "1E-2", "1E0", "1E1", "1E2"};
    EXPECT_EQ(below, (Names{"1E-2", "1E-1", "1E0", "1E1", "1E2"}));
    EXPECT_EQ(beside, decades);
}

}  // namespace
}  // namespace pc
