#pragma once
// The shown main window for a sequence of user actions: started in a folder of its own with the
// program's palette file (METOPT_DATA_DIR), every control it offers by name, its error boxes
// answered and kept, and pending events let through without a tick of the animation timer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "palette/palette.h"
#include "platform/dropdown.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "runtime/fpu.h"
#include "support/test_window.h"

namespace metopt::testsupport {

// A control of the window and the name the action list shows for it.
struct Named {
    const char* name;
    QWidget* widget;
};

class WindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(folder_.path());
        ASSERT_TRUE(QFile::copy(QStringLiteral(METOPT_DATA_DIR "/Palitr10.dat"),
                                QString::fromUtf8(palette::PaletteFileName)));
        QApplication::clipboard()->clear();
        platform::SetErrorBoxHandler(
            [this](const std::string&, const std::string& text) { boxes_.push_back(text); });
        // Labs are saved and opened in the test's folder.
        const auto labFile = [](const platform::SaveDialogRequest&) {
            return QStringLiteral("fuzz.metopt");
        };
        platform::SetSaveDialogHandler(labFile);
        platform::SetOpenDialogHandler(labFile);
        form_ = std::make_unique<testsupport::TestWindow>();
        form_->show();
        Settle();
        CollectControls();
    }

    void TearDown() override {
        form_.reset();
        platform::SetErrorBoxHandler(nullptr);
        platform::SetSaveDialogHandler(nullptr);
        platform::SetOpenDialogHandler(nullptr);
        QApplication::clipboard()->clear();
        QDir::setCurrent(previousFolder_);
    }

    void CollectControls() {
        testsupport::TestWindow& f = *form_;
        buttons_ = {{"bbDrMpCl", f.bbDrMpCl}, {"bbDrMpLL", f.bbDrMpLL}, {"bbDrGrid", f.bbDrGrid},
                    {"bbIterat", f.bbIterat}, {"bbStopIt", f.bbStopIt}, {"bbStepIt", f.bbStepIt}};
        checks_ = {{"cbTrnpLL", f.cbTrnpLL}, {"cbDrSmal", f.cbDrSmal}, {"cbDrAxis", f.cbDrAxis},
                   {"cbDrBig", f.cbDrBig},   {"cbDrNumb", f.cbDrNumb}, {"cbCnHatch", f.cbCnHatch}};
        fields_ = {{"meBeg_Xr", f.meBeg_Xr}, {"meBeg_Yr", f.meBeg_Yr}, {"meCnsEps", f.meCnsEps},
                   {"meCnsHst", f.meCnsHst}, {"meCnsUoo", f.meCnsUoo}, {"meStLeLi", f.meStLeLi},
                   {"meWdLeLi", f.meWdLeLi}, {"meSrXb", f.meSrXb},     {"meSrXe", f.meSrXe},
                   {"meSrYb", f.meSrYb},     {"meSrYe", f.meSrYe},     {"meSrXc", f.meSrXc},
                   {"meSrYc", f.meSrYc},     {"meSrXs", f.meSrXs},     {"meSrYs", f.meSrYs},
                   {"meSgXs", f.meSgXs},     {"meSgYs", f.meSgYs},     {"meWkSzX", f.meWkSzX},
                   {"meWkSzY", f.meWkSzY},   {"meCnR0", f.meCnR0},     {"meCnGr", f.meCnGr},
                   {"meCnEps", f.meCnEps},   {"meLrRate", f.meLrRate}, {"meLrMom", f.meLrMom},
                   {"meLrRho", f.meLrRho},   {"meLrB1", f.meLrB1},     {"meLrB2", f.meLrB2},
                   {"meLrNois", f.meLrNois}, {"meLrSeed", f.meLrSeed}};
        spins_ = {{"seTimFrm", f.seTimFrm}, {"seDiNmCl", f.seDiNmCl}, {"seDiColR", f.seDiColR},
                  {"seDiColG", f.seDiColG}, {"seDiColB", f.seDiColB}, {"seScoGrd", f.seScoGrd}};
        lists_ = {{"coEquat", f.coEquat},
                  {"coMetOpt", f.coMetOpt},
                  {"coFill", f.coFill},
                  {"coLevel", f.coLevel},
                  {"coConvKind", f.coConvKind}};
        texts_ = fields_;
        texts_.insert(texts_.end(), spins_.begin(), spins_.end());
        texts_.insert(texts_.end(), lists_.begin(), lists_.end());
        texts_.push_back({"mmOtchet", f.mmOtchet});
        texts_.push_back({"mmCnList", f.mmCnList});
        for (const Named& control : buttons_) {
            enabled_.push_back(control.widget);
        }
        for (const std::vector<Named>* group : {&checks_, &spins_, &lists_}) {
            for (const Named& control : *group) {
                enabled_.push_back(control.widget);
            }
        }
        enabled_.push_back(f.mmOtchet);
        enabled_.push_back(f.pbDrawAr);
    }

    // Lets the window take what is pending (layout, repaints, the reports of failed repaints)
    // without a tick of the animation timer: ticks come only from the sequence, so a seed always
    // gives the same run.
    // A run started on the worker thread ends first, so that the sequence alone decides.
    void Settle() {
        form_->AwaitRunEnd();
        const QSignalBlocker noTicks(form_->tmTimer);
        QCoreApplication::processEvents();
        while (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    }

    // The user opens the page a control stands on before using it.
    std::string Reach(QWidget* control) {
        if (control->isVisible()) {
            return "";
        }
        platform::PageControl& pages = *form_->pcMnPage;
        for (QWidget* page : {form_->tsParam, form_->tsGfxPar, form_->tsDraw, form_->tsReport}) {
            if (page->isAncestorOf(control)) {
                pages.SetActivePage(page);
                return "open its page, ";
            }
        }
        return "";
    }

    int TimerTicks(int ticks) {
        int done = 0;
        while (done < ticks && form_->tmTimer->isActive()) {
            const std::size_t before = boxes_.size();
            form_->TimerTick();
            ++done;
            // A tick that failed must not fail again on the next one.
            if (boxes_.size() > before) {
                EXPECT_FALSE(form_->tmTimer->isActive())
                    << "a failing tick left the timer running: " << boxes_.back();
            }
        }
        return done;
    }

    std::unique_ptr<testsupport::TestWindow> form_;
    std::vector<std::string> boxes_;
    std::vector<Named> buttons_, checks_, fields_, spins_, lists_, texts_;
    std::vector<QWidget*> enabled_;

  private:
    QTemporaryDir folder_;
    QString previousFolder_;
};

}  // namespace metopt::testsupport
