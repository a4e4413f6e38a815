#include "animation.h"

#include <QPainter>
#include <algorithm>

#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "plot_session.h"

namespace pc {

namespace {

bool Animates(const TFktItem& item) {
    return item.Darstellung && item.valid && item.Animated;
}

std::int32_t FrameCount(const TFktItem& item) {
    return static_cast<std::int32_t>(item.FeldListenListeM.size());
}

void ClipToPlot(QPainter& painter, const PlotView& v) {
    painter.setClipRect(v.marginLeft, v.marginTop, v.plotWidth, v.plotHeight);
}

}  // namespace

AnimationFrame NextFrame(AnimationFrame current, std::int32_t count, bool yoyo,
                         AnimationSender sender) {
    AnimationFrame next = current;
    if (count <= 0)
        return {0, next.forward};
    // A frame outside the family (it shrank since, or the index was never set) counts as
    // just past the end it lies beyond, so that the step lands on a member, and the step
    // below cannot overflow.
    next.frame = std::clamp(next.frame, -1, count);
    if (sender == AnimationSender::StepForward)
        next.forward = true;
    else if (sender == AnimationSender::StepBackward)
        next.forward = false;
    next.frame += next.forward ? 1 : -1;
    if (next.frame >= count) {
        if (yoyo) {
            next.forward = false;
            next.frame = count - 1;
        } else {
            next.frame = 0;
        }
    }
    if (next.frame < 0) {
        if (yoyo) {
            next.forward = true;
            next.frame = 0;
        } else {
            next.frame = count - 1;
        }
    }
    return next;
}

void DrawFrame(PlotSession& session, TFktItem& item, std::int32_t frame) {
    if (frame < 0 || frame >= FrameCount(item))
        return;
    PlotSurface& surface = session.main;
    std::vector<DevicePoint> pixels;
    const TPointArray& points = item.FeldListenListeM[static_cast<std::size_t>(frame)];
    ScaleMap(surface.view, session.gridType).MapPoints(points, pixels);
    QPainter painter(&surface.Image());
    ClipToPlot(painter, surface.view);
    DrawPointList(surface, painter, session.gridType, item, pixels, true,
                  PlaceOf(session.GetCatalogue().Items(), item, SurfaceKind::Main, points));
}

void StartAnimation(PlotSession& session, bool forward) {
    PlotSurface& surface = session.main;
    const Catalogue& catalogue = session.GetCatalogue();
    surface.Clear();
    DrawGrid(surface, session.gridType, session.gridError, session.GetNotifier());
    {
        QPainter painter(&surface.Image());
        ClipToPlot(painter, surface.view);
        const ScaleMap map(surface.view, session.gridType);
        std::vector<DevicePoint> pixels;
        for (const auto& item : catalogue.Items()) {
            if (!item->Darstellung || !item->valid)
                continue;
            if (item->Animated) {
                item->AnimFrame = 0;
                item->AnimForward = forward ? 1 : 0;
                continue;
            }
            for (const TPointArray& points : item->FeldListenListeM) {
                map.MapPoints(points, pixels);
                DrawPointList(surface, painter, session.gridType, *item, pixels, false,
                              PlaceOf(catalogue.Items(), *item, SurfaceKind::Main, points));
            }
        }
    }
    for (const auto& item : catalogue.Items()) {
        if (Animates(*item))
            DrawFrame(session, *item, item->AnimFrame);
    }
}

void AnimationStep(PlotSession& session, AnimationSender sender, bool yoyo) {
    for (const auto& item : session.GetCatalogue().Items()) {
        if (!Animates(*item))
            continue;
        DrawFrame(session, *item, item->AnimFrame);
        const AnimationFrame next =
            NextFrame({item->AnimFrame, item->AnimForward != 0}, FrameCount(*item), yoyo, sender);
        item->AnimFrame = next.frame;
        item->AnimForward = next.forward ? 1 : 0;
        DrawFrame(session, *item, item->AnimFrame);
    }
}

}  // namespace pc
