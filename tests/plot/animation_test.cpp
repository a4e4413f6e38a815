#include "plot/animation.h"

#include <gtest/gtest.h>

#include <iterator>

#include "plot_test_support.h"

namespace pc::test {
namespace {

using Frames = std::vector<std::int32_t>;

// The frames shown: the start frame, then one per sender.
Frames Play(AnimationFrame start, std::int32_t count, bool yoyo,
            const std::vector<AnimationSender>& senders) {
    Frames frames{start.frame};
    for (const AnimationSender sender : senders) {
        start = NextFrame(start, count, yoyo, sender);
        frames.push_back(start.frame);
    }
    return frames;
}

TEST(NextFrame, YoYoTurnsAtTheEndsOtherwiseTheFramesWrapAndStepsSetTheDirection) {
    using S = AnimationSender;
    const std::vector<AnimationSender> ticks(7, S::Timer);
    struct Case {
        AnimationFrame start;
        std::int32_t count;
        bool yoyo;
        std::vector<AnimationSender> senders;
        Frames frames;
    };
    const Case cases[] = {
        {{0, true}, 3, false, ticks, {0, 1, 2, 0, 1, 2, 0, 1}},
        {{0, false}, 3, false, ticks, {0, 2, 1, 0, 2, 1, 0, 2}},
        {{0, false}, 0, false, ticks, Frames(8, 0)},  // no frames at all: not even frame -1
        // Single steps set the direction for the ticks that follow.
        {{3, false}, 6, true, {S::Timer, S::StepForward, S::Timer, S::Timer}, {3, 2, 3, 4, 5}},
        {{1, true}, 6, false, {S::StepBackward, S::Timer, S::Timer}, {1, 0, 5, 4}},
        // A frame left over from a larger family comes back into range at the end it lies
        // beyond, whichever way it runs, and a frame no step could reach does not overflow.
        {{7, true}, 3, true, {S::Timer}, {7, 2}},
        {{7, true}, 3, false, {S::Timer}, {7, 0}},
        {{7, false}, 3, false, {S::Timer, S::Timer}, {7, 2, 1}},
        {{INT32_MAX, true}, 3, true, {S::Timer}, {INT32_MAX, 2}},
        {{INT32_MIN, false}, 3, false, {S::Timer}, {INT32_MIN, 2}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Play(c.start, c.count, c.yoyo, c.senders), c.frames)
            << c.start.frame << c.start.forward << c.yoyo << c.count;
    }
}

// The whole way from typed definitions, with the grid shown: F1 has the parameter A with
// the five automatic values 1, 3, 5, 7, 9, G none. In the window -1..1 by -10..10 member A
// crosses x = 0.5 at y = A / 2 and G at y = -2.5.
struct AnimationScene : Scene {
    TFktItem* family = nullptr;

    AnimationScene() {
        surface.look.gridVisible = true;
        catalogue.Parameters().EnsureItems({"A"});
        catalogue.Parameters().SetStopValue("A", 9);
        family = &Show("F1(X)=A*X");
        Show("G(X)=-5*X").Farbe = kBlue;
        family->Farbe = kRed;
        catalogue.SetCurrentItem(family);
        UserView("-1", "1", "-10", "10", "-1", "1");
        session.RedrawSurface(session.main);
    }
    // Whether `colour` shows next to the point (0.5, y).
    bool Near(Extended y, QRgb colour) {
        const PlotView& v = View();
        const int row = static_cast<int>((v.ymax - y) * v.plotHeight / (v.ymax - v.ymin));
        return CountIn(Image(), QRect(Column(3 * v.plotWidth / 4) - 1, Row(row) - 2, 3, 5),
                       colour) > 0;
    }
    std::vector<bool> MembersShown() {
        std::vector<bool> shown;
        for (const Extended a : {1, 3, 5, 7, 9}) shown.push_back(Near(a / 2, kRedPixel));
        return shown;
    }
};

// Only the shown member is on the picture, and a member's picture is the same each time it
// comes back: nothing of the others is left behind. The parameterless curve stays.
TEST(AnimationStep, EachStepErasesTheShownMemberAndDrawsExactlyTheNextOne) {
    AnimationScene scene;
    ASSERT_TRUE(scene.notifier.empty());
    ASSERT_EQ(scene.family->FeldListenListeM.size(), 5u);
    EXPECT_TRUE(scene.family->Animated && !scene.catalogue.Items().at(1)->Animated);
    EXPECT_EQ(scene.MembersShown(), std::vector<bool>(5, true)) << "before the animation";
    StartAnimation(scene.session, true);
    QImage pictures[5];
    const int shown[] = {0, 1, 2, 3, 4, 4, 3, 2, 1, 0, 0, 1};  // YoYo shows each end twice
    for (std::size_t i = 0; i < std::size(shown); ++i) {
        SCOPED_TRACE(testing::Message() << "tick " << i);
        if (i > 0)
            AnimationStep(scene.session, AnimationSender::Timer, true);
        EXPECT_EQ(scene.family->AnimFrame, shown[i]);
        std::vector<bool> expected(5, false);
        expected[static_cast<std::size_t>(shown[i])] = true;
        EXPECT_EQ(scene.MembersShown(), expected);
        EXPECT_TRUE(scene.Near(-2.5L, kBluePixel));
        QImage& picture = pictures[shown[i]];
        EXPECT_TRUE(picture.isNull() || scene.Image() == picture);
        picture = scene.Image().copy();
    }
    StartAnimation(scene.session, false);  // a restart begins at frame 0 again
    EXPECT_TRUE(scene.family->AnimFrame == 0 && scene.family->AnimForward == 0);
}

}  // namespace
}  // namespace pc::test
