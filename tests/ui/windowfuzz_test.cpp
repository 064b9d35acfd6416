// The main window driven by a long, seeded, random sequence of user actions: every button, tab,
// check box, field, spin edit and list, typed and pasted texts (hostile ones among them), formulas
// typed into the equation list (good, bad and hostile), cuts and
// pastes with an empty and with a filled clipboard, window sizes from tiny to large, timer ticks,
// mouse moves over the drawing area and the menu, drags, wheel turns and double-clicks on the
// surface. Every error box is answered. After each action
// the rules that always hold are checked; a failing seed prints the actions that reproduce it.
//
// METOPT_WINDOW_FUZZ_ACTIONS=N drives N actions per seed; METOPT_WINDOW_FUZZ_SEED=S (or a comma
// list S1,S2,...) drives those seeds instead of the default ones. While a seed runs, its actions
// are also written, one a line, to windowfuzz_seed<S>.actions in the test's working folder, so that
// a crash leaves them behind; the file is removed when the seed passes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/minimizer.h"
#include "core/runreport.h"
#include "platform/dropdown.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "render/fieldtexts.h"
#include "render/levellines.h"
#include "support/fuzz_texts.h"
#include "support/qt_environment.h"
#include "support/test_window.h"
#include "support/window_actions.h"

namespace metopt::ui {
namespace {

using testsupport::Random;

constexpr int DefaultActionsPerSeed = 1000;
const std::uint64_t DefaultSeeds[] = {1, 2, 3};

int ActionsPerSeed() {
    const char* text = std::getenv("METOPT_WINDOW_FUZZ_ACTIONS");
    const int actions = text != nullptr ? std::atoi(text) : 0;
    return actions > 0 ? actions : DefaultActionsPerSeed;
}

std::vector<std::uint64_t> Seeds() {
    std::vector<std::uint64_t> seeds;
    if (const char* text = std::getenv("METOPT_WINDOW_FUZZ_SEED")) {
        std::stringstream list(text);
        std::string item;
        while (std::getline(list, item, ',')) {
            if (!item.empty()) {
                seeds.push_back(std::strtoull(item.c_str(), nullptr, 10));
            }
        }
    }
    if (seeds.empty()) {
        seeds.assign(std::begin(DefaultSeeds), std::end(DefaultSeeds));
    }
    return seeds;
}

class WindowFuzzTest : public testsupport::WindowActions,
                       public ::testing::WithParamInterface<std::uint64_t> {
  protected:
    // The actions go to a file in the test's working folder as they run.
    void SetUp() override {
        actionFileName_ = QDir::currentPath().toStdString() + "/windowfuzz_seed" +
                          std::to_string(GetParam()) + ".actions";
        actionFile_.open(actionFileName_, std::ios::trunc);
        WindowActions::SetUp();
    }

    // --- What always holds ---

    void CheckRules() {
        testsupport::TestWindow& f = *form_;
        EXPECT_TRUE(f.isVisible() && f.isEnabled()) << "the window is gone or disabled";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a modal window is open";
        for (QWidget* control : enabled_) {
            EXPECT_TRUE(control->isEnabled()) << control->metaObject()->className();
        }
        EXPECT_LE(form_->Descent.TraceCount, core::TraceCapacity);
        // The surface's view stays within its bounds.
        const render::TSurfaceView& view = form_->Session().SurfaceView;
        EXPECT_TRUE(view.elevation >= render::MinElevation &&
                    view.elevation <= render::MaxElevation)
            << view.elevation;
        EXPECT_TRUE(view.azimuth >= -180 && view.azimuth < 180) << view.azimuth;
        EXPECT_TRUE(view.zoom >= render::MinZoom && view.zoom <= render::MaxZoom) << view.zoom;
        // The drawing area fills its page, and the map size and the size fields follow it.
        const QSize area = f.pbDrawAr->size();
        EXPECT_EQ(area, f.tsDraw->size());
        EXPECT_EQ(form_->Plot.MapCols, area.width() - 2);
        EXPECT_EQ(form_->Plot.MapRows, area.height() - 2);
        EXPECT_EQ(f.meWkSzX->Text(), std::to_string(area.width()));
        EXPECT_EQ(f.meWkSzY->Text(), std::to_string(area.height()));
        CheckRepaints();
    }

    // A repaint puts the last saved picture back, and a failed repaint is reported once, not
    // again by the next one.
    void CheckRepaints() {
        testsupport::TestWindow& f = *form_;
        const auto repaint = [&f] {
            f.pbColMap->grab();
            f.pbDiClEx->grab();
            return f.pbDrawAr->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        repaint();
        Settle();
        const std::size_t before = boxes_.size();
        const QImage shown = repaint();
        Settle();
        EXPECT_EQ(boxes_.size(), before) << "a repaint reported again: " << boxes_.back();
        if (!form_->SavedPicture.BackingImage || shown.isNull()) {
            return;
        }
        const QImage& saved = form_->SavedPicture.BackingImage->Image();
        const int width = std::min(shown.width(), saved.width());
        const int height = std::min(shown.height(), saved.height());
        if (width > 0 && height > 0) {
            EXPECT_EQ(shown.copy(0, 0, width, height), saved.copy(0, 0, width, height))
                << "the picture shown is not the picture saved";
        }
    }

    // The start texts back, the design size: the map and a descent work as on the first day.
    void CheckStillUsable() {
        testsupport::TestWindow& f = *form_;
        const render::GraphFieldTexts graph;
        const core::DescentFields descent;
        const render::LevelLineOptions lines;
        const std::pair<platform::TextField*, std::string> texts[] = {
            {f.meSrXb, graph.Xb},
            {f.meSrXe, graph.Xe},
            {f.meSrYb, graph.Yb},
            {f.meSrYe, graph.Ye},
            {f.meSrXc, graph.Xc},
            {f.meSrYc, graph.Yc},
            {f.meSrXs, graph.Xs},
            {f.meSrYs, graph.Ys},
            {f.meSgXs, graph.SgXs},
            {f.meSgYs, graph.SgYs},
            {f.meBeg_Xr, descent.x0},
            {f.meBeg_Yr, descent.y0},
            {f.meCnsEps, descent.eps},
            {f.meCnsHst, descent.step},
            {f.meCnsUoo, descent.radius},
            {f.meStLeLi, lines.stepText},
            {f.meWdLeLi, lines.widthText},
            {f.meCnR0, descent.penaltyStart},
            {f.meCnGr, descent.penaltyGrowth},
            {f.meCnEps, descent.outerEps},
            {f.meLrRate, descent.learningRate},
            {f.meLrMom, descent.momentum},
            {f.meLrRho, descent.decay},
            {f.meLrB1, descent.beta1},
            {f.meLrB2, descent.beta2},
            {f.meLrNois, descent.noise},
            {f.meLrSeed, descent.seed},
        };
        for (const auto& [field, text] : texts) {
            field->SetText(text);
        }
        f.mmCnList->clear();
        f.mmdWkCnMt[0]->trigger();
        f.coEquat->ChooseItem(1);
        f.coMetOpt->ChooseItem(0);
        f.mmdWkStSt->trigger();
        f.coFill->ChooseItem(0);
        f.coLevel->ChooseItem(0);
        f.seTimFrm->SetValue(0);
        f.seScoGrd->SetValue(30);
        f.LayoutForDrawingArea(448, 412);
        Settle();
        const std::size_t before = boxes_.size();
        QTest::mouseClick(f.bbDrMpCl, Qt::LeftButton);
        EXPECT_EQ(f.StatusText(), "Прорисовка карты высот: 100%");
        QTest::mouseClick(f.bbDrGrid, Qt::LeftButton);
        QTest::mouseClick(f.bbIterat, Qt::LeftButton);
        f.AwaitRunEnd();
        const std::vector<std::string> report = f.ReportLines();
        ASSERT_GE(report.size(), 5u);
        EXPECT_EQ(report[4], "Скорейший спуск прошел за 43 итерац.");
        EXPECT_EQ(f.StatusText(), "Точка трассы #43 из 43");
        EXPECT_EQ(boxes_.size(), before) << "unexpected box: " << boxes_.back();
        Settle();
        CheckRules();
    }

    void Record(const std::string& what) {
        log_.push_back(what);
        actionFile_ << "#" << log_.size() << ": " << what << std::endl;
    }

    void RemoveActionFile() {
        actionFile_.close();
        std::remove(actionFileName_.c_str());
    }

    std::string ActionList(std::size_t count) const {
        std::ostringstream list;
        for (std::size_t i = 0; i < count && i < log_.size(); ++i) {
            list << "  #" << i + 1 << ": " << log_[i] << "\n";
        }
        return list.str();
    }

    std::vector<std::string> log_;

  private:
    std::string actionFileName_;
    std::ofstream actionFile_;
};

TEST_P(WindowFuzzTest, EveryRuleHoldsAfterEveryAction) {
    const std::uint64_t seed = GetParam();
    const int actions = ActionsPerSeed();
    random_ = std::make_unique<Random>(seed);
    const auto reproduce = [&](std::size_t count) {
        return "seed " + std::to_string(seed) + " failed at action " + std::to_string(count) +
               "; again with METOPT_WINDOW_FUZZ_SEED=" + std::to_string(seed) +
               " METOPT_WINDOW_FUZZ_ACTIONS=" + std::to_string(count) + ". The actions:\n" +
               ActionList(count);
    };
    double slowest = 0;
    std::string slowestAction;
    for (int i = 0; i < actions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        std::string what;
        try {
            what = RandomAction();
            Record(what);
            Settle();
            CheckRules();
        } catch (const std::exception& e) {
            Record(what);
            ADD_FAILURE() << "an exception escaped: " << e.what();
        } catch (...) {
            Record(what);
            ADD_FAILURE() << "an exception escaped";
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (ms > slowest) {
            slowest = ms;
            slowestAction = what;
        }
        if (HasFailure()) {
            FAIL() << reproduce(log_.size());
        }
    }
    Record("(the start texts back, map, grid and a descent)");
    CheckStillUsable();
    if (HasFailure()) {
        FAIL() << reproduce(log_.size());
    }
    RemoveActionFile();
    std::cout << "seed " << seed << ": " << actions << " actions, " << boxes_.size()
              << " error boxes answered, slowest action " << static_cast<int>(slowest)
              << " ms: " << slowestAction << "\n";
}

INSTANTIATE_TEST_SUITE_P(Seeds, WindowFuzzTest, ::testing::ValuesIn(Seeds()),
                         [](const ::testing::TestParamInfo<std::uint64_t>& row) {
                             return "seed" + std::to_string(row.param);
                         });

}  // namespace
}  // namespace metopt::ui
