#pragma once
// A catalogue wired to the two plot surfaces as the program wires them, with a recording
// notifier, for tests that enter functions and draw them.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_test_support.h"
#include "catalogue/function_manager.h"
#include "plot/plot_session.h"
#include "plot/session_observer.h"

namespace pc::test {

inline double D(Extended value) {
    return static_cast<double>(value);
}

struct Window {
    Extended xmin, xmax, ymin, ymax;
};

inline void SetWindow(PlotView& view, const Window& w) {
    view.xmin = w.xmin;
    view.xmax = w.xmax;
    view.ymin = w.ymin;
    view.ymax = w.ymax;
}

inline void ExpectWindow(const PlotView& view, const Window& w) {
    EXPECT_NEAR(D(view.xmin), D(w.xmin), 1e-15);
    EXPECT_NEAR(D(view.xmax), D(w.xmax), 1e-15);
    EXPECT_NEAR(D(view.ymin), D(w.ymin), 1e-15);
    EXPECT_NEAR(D(view.ymax), D(w.ymax), 1e-15);
}

// Records at the points `xy`, all valid or all not.
template <class Record = TFeldfty>
std::vector<Record> Records(std::initializer_list<std::pair<Extended, Extended>> xy,
                            bool valid = true) {
    std::vector<Record> records(xy.size());
    auto point = xy.begin();
    for (Record& r : records) {
        r.x = point->first;
        r.y = (point++)->second;
        r.valid = valid;
    }
    return records;
}

struct PlotFixture {
    RecordingNotifier notifier;
    Catalogue catalogue{notifier};
    FunctionManager manager{catalogue};
    PlotSession session{catalogue, notifier};
    SessionObserver observer{session};

    // The main plot laid out in a panel of `width` x `height`, the preview in 300 x 230.
    explicit PlotFixture(int width = 800, int height = 600) {
        catalogue.SetObserver(&observer);
        session.main.view.ready = true;
        session.preview.view.ready = true;
        session.Layout(session.main, PanelGeometry{width, height, 0, 0});
        session.Layout(session.preview, PanelGeometry{300, 230, 0, 0});
    }
    PlotFixture(const PlotFixture&) = delete;
    PlotFixture& operator=(const PlotFixture&) = delete;

    // Enters `definition` and drops its function as a new item (column 5) or as the y(t)
    // of the item on `row` (column 6); the new item becomes the current one.
    TFktItem& Show(const std::string& definition, int column = 5, int row = -1) {
        manager.SetInputLine(definition);
        manager.Enter();
        const std::string line = definition;
        for (std::size_t i = 0; i < catalogue.SelectionList().size(); ++i) {
            if (catalogue.SelectionList()[i] == line)
                manager.SelectDefinition(static_cast<int>(i));
        }
        const int target = row >= 0 ? row : static_cast<int>(catalogue.Items().size());
        EXPECT_TRUE(manager.Drop(target, column)) << definition;
        TFktItem& item = *catalogue.Items().at(static_cast<std::size_t>(target));
        catalogue.SetCurrentItem(&item);
        return item;
    }

    // The user's view with these ranges, as typed into the plot settings window.
    void UserView(const std::string& xmin, const std::string& xmax, const std::string& ymin,
                  const std::string& ymax, const std::string& phimin, const std::string& phimax) {
        session.fields = {phimin, phimax, xmin, xmax, ymin, ymax};
        session.SetScaleMode(ScaleMode::smUserDefined);
        session.fields = {phimin, phimax, xmin, xmax, ymin, ymax};
        ASSERT_TRUE(ValidateUserRanges(session.main.view, session.fields));
    }
};

}  // namespace pc::test
