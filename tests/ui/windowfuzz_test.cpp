// The main window driven by a long, seeded, random sequence of user actions: every button, tab,
// check box, field, spin edit and list, typed and pasted texts (hostile ones among them), cuts and
// pastes with an empty and with a filled clipboard, window sizes from tiny to large, timer ticks,
// mouse moves over the drawing area and the menu. Every error box is answered. After each action
// the rules that always hold are checked; a failing seed prints the actions that reproduce it.
//
// METOPT_WINDOW_FUZZ_ACTIONS=N drives N actions per seed; METOPT_WINDOW_FUZZ_SEED=S (or a comma
// list S1,S2,...) drives those seeds instead of the default ones. While a seed runs, its actions
// are also written, one a line, to windowfuzz_seed<S>.actions in the test's working folder, so that
// a crash leaves them behind; the file is removed when the seed passes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/functions.h"
#include "core/minimizer.h"
#include "core/report.h"
#include "palette/palette.h"
#include "platform/dropdown.h"
#include "platform/messagebox.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "render/coordinates.h"
#include "render/fieldtexts.h"
#include "render/levellines.h"
#include "render/trace.h"
#include "runtime/fpu.h"
#include "runtime/numformat.h"
#include "support/keys.h"
#include "support/qt_environment.h"
#include "ui/mainform.h"

namespace metopt::ui {
namespace {

using testsupport::SendKey;
using testsupport::TypeKeys;

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

// The same seed gives the same choices on every run and machine.
class Random {
  public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool Percent(int p) { return Below(100) < p; }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
    }

  private:
    std::mt19937_64 engine_;
};

// Texts no field expects: beyond every range, not numbers, separators of other locales, empty,
// long, not ASCII.
const std::vector<std::string> HostileTexts = {
    "",
    "nan",
    "NaN",
    "-nan",
    "inf",
    "-inf",
    "Infinity",
    "1e99999",
    "-1e99999",
    "1e-99999",
    "1e4932",
    "1.18973149535723176502e+4932",
    "1e4933",
    "-1e4933",
    "3.6e-4951",
    "1e-4940",
    "1e308",
    "1e-320",
    "99999999999999999999999999999999",
    "-9223372036854775808",
    "9223372036854775807",
    "18446744073709551616",
    "2147483647",
    "2147483648",
    "-2147483648",
    "4294967295",
    "4294967296",
    "$7FFFFFFF",
    "$FFFFFFFF",
    "$",
    "0x10",
    "1,5",
    "0,0000001",
    ",",
    ".",
    "..",
    "-",
    "+",
    "--1",
    "+-0",
    "e",
    "1e",
    "1e+",
    ".e1",
    "0",
    "-0",
    "0.0",
    "00000000000000000000000001",
    " 3",
    "3 ",
    "\t7",
    "1 000",
    "abc",
    "x",
    "1.3.5",
    "１２",
    "Отчет",
    "∞",
    "½",
    "😀",
    "z=x*x",
    "'",
    "\"",
    "%s%n%d",
    "\\",
    std::string(1, '\0'),
};

// Texts a user means: numbers near the ranges of the fields.
std::string PlausibleText(Random& random) {
    switch (random.Below(6)) {
        case 0:
            return std::to_string(random.Between(-5, 30));
        case 1:
            return std::to_string(random.Between(0, 300));
        case 2:
            return std::to_string(random.Between(-3, 3)) + "." + std::to_string(random.Below(100));
        case 3:
            return "0.0" + std::to_string(random.Between(1, 9));
        case 4:
            return std::to_string(random.Between(1, 10000));
        default:
            return "1e" + std::to_string(random.Between(-9, 3));
    }
}

std::string LongText(Random& random) {
    const int length = random.Between(100, 4000);
    switch (random.Below(4)) {
        case 0:
            return std::string(static_cast<std::size_t>(length), '9');
        case 1:
            return "1" + std::string(static_cast<std::size_t>(length), '0');
        case 2:
            return "0." + std::string(static_cast<std::size_t>(length), '0') + "1";
        default: {
            std::string text;
            const char* const pieces[] = {"1", "-", ".", "e", ",", "x", "ж", " ", "9"};
            for (int i = 0; i < length / 2; ++i) {
                text += pieces[random.Below(9)];
            }
            return text;
        }
    }
}

std::string AnyText(Random& random) {
    const int kind = random.Below(100);
    if (kind < 50) {
        return PlausibleText(random);
    }
    if (kind < 90) {
        return random.Pick(HostileTexts);
    }
    return LongText(random);
}

// How a text shows in the action list: quoted, control characters escaped, long ones shortened.
std::string Quoted(const std::string& text) {
    std::string shown;
    for (const char c : text.substr(0, 40)) {
        if (static_cast<unsigned char>(c) < 0x20) {
            shown += "\\x" + std::to_string(static_cast<int>(c));
        } else {
            shown += c;
        }
    }
    if (text.size() > 40) {
        shown += "...(" + std::to_string(text.size()) + " bytes)";
    }
    return "\"" + shown + "\"";
}

struct Named {
    const char* name;
    QWidget* widget;
};

class WindowFuzzTest : public ::testing::TestWithParam<std::uint64_t> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        previousFolder_ = QDir::currentPath();
        actionFileName_ = previousFolder_.toStdString() + "/windowfuzz_seed" +
                          std::to_string(GetParam()) + ".actions";
        actionFile_.open(actionFileName_, std::ios::trunc);
        QDir::setCurrent(folder_.path());
        ASSERT_TRUE(QFile::copy(QStringLiteral(METOPT_DATA_DIR "/Palitr10.dat"),
                                QString::fromUtf8(palette::PaletteFileName)));
        runtime::InitFpu();
        QApplication::clipboard()->clear();
        platform::SetErrorBoxHandler(
            [this](const std::string&, const std::string& text) { boxes_.push_back(text); });
        form_ = std::make_unique<TfmMnForm>();
        form_->show();
        Settle();
        CollectControls();
    }

    void TearDown() override {
        form_.reset();
        platform::SetErrorBoxHandler(nullptr);
        QApplication::clipboard()->clear();
        QDir::setCurrent(previousFolder_);
    }

    void CollectControls() {
        TfmMnForm& f = *form_;
        buttons_ = {{"bbDrMpCl", f.bbDrMpCl},
                    {"bbDrMpLL", f.bbDrMpLL},
                    {"bbDrGrid", f.bbDrGrid},
                    {"bbIterat", f.bbIterat},
                    {"bbStopIt", f.bbStopIt}};
        checks_ = {{"cbTrnpLL", f.cbTrnpLL},
                   {"cbDrSmal", f.cbDrSmal},
                   {"cbDrAxis", f.cbDrAxis},
                   {"cbDrBig", f.cbDrBig},
                   {"cbDrNumb", f.cbDrNumb}};
        fields_ = {{"meBeg_Xr", f.meBeg_Xr}, {"meBeg_Yr", f.meBeg_Yr}, {"meCnsEps", f.meCnsEps},
                   {"meCnsHst", f.meCnsHst}, {"meCnsUoo", f.meCnsUoo}, {"meStLeLi", f.meStLeLi},
                   {"meWdLeLi", f.meWdLeLi}, {"meSrXb", f.meSrXb},     {"meSrXe", f.meSrXe},
                   {"meSrYb", f.meSrYb},     {"meSrYe", f.meSrYe},     {"meSrXc", f.meSrXc},
                   {"meSrYc", f.meSrYc},     {"meSrXs", f.meSrXs},     {"meSrYs", f.meSrYs},
                   {"meSgXs", f.meSgXs},     {"meSgYs", f.meSgYs},     {"meWkSzX", f.meWkSzX},
                   {"meWkSzY", f.meWkSzY}};
        spins_ = {{"seTimFrm", f.seTimFrm}, {"seDiNmCl", f.seDiNmCl}, {"seDiColR", f.seDiColR},
                  {"seDiColG", f.seDiColG}, {"seDiColB", f.seDiColB}, {"seScoGrd", f.seScoGrd}};
        lists_ = {{"coEquat", f.coEquat},
                  {"coMetOpt", f.coMetOpt},
                  {"coFill", f.coFill},
                  {"coLevel", f.coLevel}};
        texts_ = fields_;
        texts_.insert(texts_.end(), spins_.begin(), spins_.end());
        texts_.insert(texts_.end(), lists_.begin(), lists_.end());
        texts_.push_back({"mmOtchet", f.mmOtchet});
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
    void Settle() {
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

    void OfferOnClipboard(std::string& what) {
        QClipboard* clipboard = QApplication::clipboard();
        clipboard->clear();
        switch (random_->Below(6)) {
            case 0:
                what = "empty clipboard";
                return;
            case 1:
                what = "clipboard with no format";
                clipboard->setMimeData(new QMimeData);
                return;
            case 2: {
                what = "clipboard with a picture";
                auto* data = new QMimeData;
                data->setImageData(QImage(3, 3, QImage::Format_RGB32));
                clipboard->setMimeData(data);
                return;
            }
            case 3: {
                what = "clipboard with HTML only";
                auto* data = new QMimeData;
                data->setHtml(QStringLiteral("<b>1.5</b>"));
                clipboard->setMimeData(data);
                return;
            }
            default: {
                const std::string text = AnyText(*random_);
                what = "clipboard text " + Quoted(text);
                clipboard->setText(QString::fromStdString(text));
                return;
            }
        }
    }

    // --- The actions; each returns its description ---

    std::string ClickButton() {
        const Named& button = random_->Pick(buttons_);
        QTest::mouseClick(button.widget, Qt::LeftButton);
        return std::string("click ") + button.name;
    }

    std::string ClickTab() {
        QTabBar* tabs = form_->pcMnPage->TabBar();
        const int index = random_->Below(tabs->count());
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
        return "click tab " + std::to_string(index);
    }

    std::string ClickCheck() {
        const Named& check = random_->Pick(checks_);
        const std::string reach = Reach(check.widget);
        QTest::mouseClick(check.widget, Qt::LeftButton);
        return reach + "click " + check.name;
    }

    std::string TypeText() {
        const Named& target = random_->Pick(texts_);
        const std::string text = AnyText(*random_);
        std::string what = Reach(target.widget);
        if (random_->Percent(70)) {
            SendKey(target.widget, Qt::Key_A, Qt::ControlModifier);
            what += "select all, ";
        }
        const QString typed = QString::fromStdString(text);
        if (typed.size() > 64) {
            QApplication::clipboard()->setText(typed);
            SendKey(target.widget, Qt::Key_V, Qt::ControlModifier);
            return what + "paste " + Quoted(text) + " into " + target.name;
        }
        TypeKeys(target.widget, typed);
        return what + "type " + Quoted(text) + " into " + target.name;
    }

    std::string PasteOrCut() {
        const Named& target = random_->Pick(texts_);
        std::string what = Reach(target.widget);
        std::string clipboard;
        OfferOnClipboard(clipboard);
        what += clipboard + ", ";
        if (random_->Percent(50)) {
            SendKey(target.widget, Qt::Key_A, Qt::ControlModifier);
            what += "select all, ";
        }
        const struct {
            const char* name;
            int key;
        } edits[] = {{"paste", Qt::Key_V}, {"cut", Qt::Key_X}, {"copy", Qt::Key_C}};
        const int count = random_->Between(1, 3);
        for (int i = 0; i < count; ++i) {
            const auto& edit = edits[random_->Below(3)];
            SendKey(target.widget, edit.key, Qt::ControlModifier);
            what += std::string(edit.name) + " ";
        }
        return what + "in " + target.name;
    }

    std::string EditKeys() {
        const Named& target = random_->Pick(texts_);
        std::string what = Reach(target.widget) + "keys";
        const struct {
            const char* name;
            int key;
            Qt::KeyboardModifiers modifiers;
        } keys[] = {
            {"Backspace", Qt::Key_Backspace, Qt::NoModifier},
            {"Delete", Qt::Key_Delete, Qt::NoModifier},
            {"Left", Qt::Key_Left, Qt::NoModifier},
            {"Right", Qt::Key_Right, Qt::NoModifier},
            {"Home", Qt::Key_Home, Qt::NoModifier},
            {"End", Qt::Key_End, Qt::NoModifier},
            {"Shift+Home", Qt::Key_Home, Qt::ShiftModifier},
            {"Up", Qt::Key_Up, Qt::NoModifier},
            {"Down", Qt::Key_Down, Qt::NoModifier},
            {"PageUp", Qt::Key_PageUp, Qt::NoModifier},
            {"PageDown", Qt::Key_PageDown, Qt::NoModifier},
            {"Enter", Qt::Key_Return, Qt::NoModifier},
            {"Escape", Qt::Key_Escape, Qt::NoModifier},
            {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier},
            {"Ctrl+Y", Qt::Key_Y, Qt::ControlModifier},
            {"Ctrl+Shift+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
            {"Ctrl+Backspace", Qt::Key_Backspace, Qt::ControlModifier},
            {"Tab", Qt::Key_Tab, Qt::NoModifier},
        };
        const int count = random_->Between(1, 6);
        for (int i = 0; i < count; ++i) {
            const auto& key = keys[random_->Below(static_cast<int>(std::size(keys)))];
            SendKey(target.widget, key.key, key.modifiers);
            what += std::string(" ") + key.name;
        }
        return what + " in " + target.name;
    }

    std::string StepSpin() {
        const Named& spin = random_->Pick(spins_);
        std::string what = Reach(spin.widget);
        switch (random_->Below(3)) {
            case 0: {
                const int delta = random_->Percent(50) ? 120 : -120;
                QWheelEvent wheel(QPointF(5, 5), spin.widget->mapToGlobal(QPointF(5, 5)), QPoint(),
                                  QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                                  false);
                QCoreApplication::sendEvent(spin.widget, &wheel);
                return what + "wheel " + std::to_string(delta) + " on " + spin.name;
            }
            case 1: {
                const int steps = random_->Between(-3, 3);
                static_cast<platform::SpinEdit*>(spin.widget)->stepBy(steps);
                return what + "arrow " + std::to_string(steps) + " on " + spin.name;
            }
            default: {
                QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
                QCoreApplication::sendEvent(spin.widget, &leave);
                return what + "leave " + spin.name;
            }
        }
    }

    // The user puts a field back to a text that works, so the run keeps coming back to pictures
    // and descents that succeed.
    std::string RestoreField() {
        const render::GraphFieldTexts graph;
        const core::DescentFields descent;
        const render::LevelLineOptions lines;
        TfmMnForm& f = *form_;
        const std::vector<std::pair<Named, std::string>> starts = {
            {{"meSrXb", f.meSrXb}, graph.Xb},
            {{"meSrXe", f.meSrXe}, graph.Xe},
            {{"meSrYb", f.meSrYb}, graph.Yb},
            {{"meSrYe", f.meSrYe}, graph.Ye},
            {{"meSrXc", f.meSrXc}, graph.Xc},
            {{"meSrYc", f.meSrYc}, graph.Yc},
            {{"meSrXs", f.meSrXs}, graph.Xs},
            {{"meSrYs", f.meSrYs}, graph.Ys},
            {{"meSgXs", f.meSgXs}, graph.SgXs},
            {{"meSgYs", f.meSgYs}, graph.SgYs},
            {{"meBeg_Xr", f.meBeg_Xr}, descent.x0},
            {{"meBeg_Yr", f.meBeg_Yr}, descent.y0},
            {{"meCnsEps", f.meCnsEps}, descent.eps},
            {{"meCnsHst", f.meCnsHst}, descent.step},
            {{"meCnsUoo", f.meCnsUoo}, descent.radius},
            {{"meStLeLi", f.meStLeLi}, lines.stepText},
            {{"meWdLeLi", f.meWdLeLi}, lines.widthText},
            {{"seTimFrm", f.seTimFrm}, std::to_string(random_->Between(0, 30))},
            {{"seScoGrd", f.seScoGrd}, "30"},
            {{"seDiNmCl", f.seDiNmCl}, std::to_string(random_->Between(0, 21))},
        };
        if (random_->Percent(15)) {
            f.coEquat->ChooseItem(random_->Between(0, 2));
            return "choose an equation: item " + std::to_string(f.coEquat->ItemIndex());
        }
        const auto& [target, text] = random_->Pick(starts);
        const std::string what = Reach(target.widget);
        SendKey(target.widget, Qt::Key_A, Qt::ControlModifier);
        TypeKeys(target.widget, QString::fromStdString(text));
        return what + "select all, type " + Quoted(text) + " into " + target.name;
    }

    std::string LeaveField() {
        const Named& field = random_->Pick(fields_);
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(field.widget, &leave);
        return std::string("leave ") + field.name;
    }

    std::string ChooseItem() {
        const Named& list = random_->Pick(lists_);
        auto* dropDown = static_cast<platform::DropDown*>(list.widget);
        const std::string what = Reach(list.widget);
        const int index = random_->Between(-1, dropDown->count());
        dropDown->ChooseItem(index);
        return what + "choose item " + std::to_string(index) + " of " + list.name;
    }

    // Sizes from a few pixels to larger than the screen.
    int Size(int large) {
        switch (random_->Below(10)) {
            case 0:
            case 1:
                return random_->Between(0, 12);
            case 2:
                return large;
            default:
                return random_->Between(100, 900);
        }
    }

    std::string Resize() {
        if (random_->Percent(60)) {
            const int width = Size(random_->Between(1000, 1600));
            const int height = Size(random_->Between(800, 1100));
            form_->resize(width, height);
            Settle();
            return "resize the window to " + std::to_string(width) + "x" + std::to_string(height);
        }
        const int width = Size(random_->Between(1000, 1400));
        const int height = Size(random_->Between(800, 1000));
        form_->LayoutForDrawingArea(width, height);
        return "lay out for a drawing area of " + std::to_string(width) + "x" +
               std::to_string(height);
    }

    std::string Ticks() {
        const int wanted = random_->Percent(80) ? random_->Between(1, 5) : random_->Between(6, 60);
        const int done = TimerTicks(wanted);
        return "wait for " + std::to_string(wanted) + " ticks (" + std::to_string(done) + " came)";
    }

    std::string MoveMouse() {
        QWidget* area = form_->pbDrawAr;
        const std::string what = Reach(area);
        const int moves = random_->Between(1, 8);
        const bool pressed = random_->Percent(20);
        std::string points;
        for (int i = 0; i < moves; ++i) {
            const QPointF at(random_->Between(-3, area->width() + 3),
                             random_->Between(-3, area->height() + 3));
            QMouseEvent move(QEvent::MouseMove, at, area->mapToGlobal(at), Qt::NoButton,
                             pressed ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(area, &move);
            points += " (" + std::to_string(static_cast<int>(at.x())) + "," +
                      std::to_string(static_cast<int>(at.y())) + ")";
        }
        return what + (pressed ? "drag the mouse over" : "move the mouse over") + points;
    }

    std::string UseMenu() {
        if (random_->Percent(30)) {
            form_->mmdFexit->trigger();
            EXPECT_FALSE(form_->isVisible()) << "Выход left the window open";
            EXPECT_FALSE(form_->tmTimer->isActive()) << "Выход left the animation running";
            form_->show();
            return "Выход, then open the window again";
        }
        QAction* item = random_->Percent(50) ? form_->mmdHabpr : form_->mmdHabau;
        item->trigger();
        return "menu item " + item->text().toStdString();
    }

    std::string ChangeLocale() {
        QEvent change(QEvent::LocaleChange);
        QCoreApplication::sendEvent(form_.get(), &change);
        return "the locale changes";
    }

    std::string RandomAction() {
        struct Kind {
            int weight;
            std::string (WindowFuzzTest::*act)();
        };
        static const Kind kinds[] = {
            {6, &WindowFuzzTest::ClickButton},  {7, &WindowFuzzTest::ClickTab},
            {4, &WindowFuzzTest::ClickCheck},   {18, &WindowFuzzTest::TypeText},
            {9, &WindowFuzzTest::PasteOrCut},   {8, &WindowFuzzTest::EditKeys},
            {6, &WindowFuzzTest::StepSpin},     {2, &WindowFuzzTest::LeaveField},
            {6, &WindowFuzzTest::ChooseItem},   {4, &WindowFuzzTest::Resize},
            {12, &WindowFuzzTest::Ticks},       {8, &WindowFuzzTest::MoveMouse},
            {1, &WindowFuzzTest::UseMenu},      {1, &WindowFuzzTest::ChangeLocale},
            {8, &WindowFuzzTest::RestoreField},
        };
        int total = 0;
        for (const Kind& kind : kinds) {
            total += kind.weight;
        }
        int pick = random_->Below(total);
        for (const Kind& kind : kinds) {
            if (pick < kind.weight) {
                return (this->*kind.act)();
            }
            pick -= kind.weight;
        }
        return "";
    }

    // --- What always holds ---

    void CheckRules() {
        TfmMnForm& f = *form_;
        EXPECT_TRUE(f.isVisible() && f.isEnabled()) << "the window is gone or disabled";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a modal window is open";
        for (QWidget* control : enabled_) {
            EXPECT_TRUE(control->isEnabled()) << control->metaObject()->className();
        }
        EXPECT_LE(form_->Descent.TraceCount, core::TraceCapacity);
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
        TfmMnForm& f = *form_;
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
        TfmMnForm& f = *form_;
        const render::GraphFieldTexts graph;
        const core::DescentFields descent;
        const render::LevelLineOptions lines;
        const std::pair<platform::TextField*, std::string> texts[] = {
            {f.meSrXb, graph.Xb},          {f.meSrXe, graph.Xe},
            {f.meSrYb, graph.Yb},          {f.meSrYe, graph.Ye},
            {f.meSrXc, graph.Xc},          {f.meSrYc, graph.Yc},
            {f.meSrXs, graph.Xs},          {f.meSrYs, graph.Ys},
            {f.meSgXs, graph.SgXs},        {f.meSgYs, graph.SgYs},
            {f.meBeg_Xr, descent.x0},      {f.meBeg_Yr, descent.y0},
            {f.meCnsEps, descent.eps},     {f.meCnsHst, descent.step},
            {f.meCnsUoo, descent.radius},  {f.meStLeLi, lines.stepText},
            {f.meWdLeLi, lines.widthText},
        };
        for (const auto& [field, text] : texts) {
            field->SetText(text);
        }
        f.coEquat->ChooseItem(1);
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

    std::unique_ptr<TfmMnForm> form_;
    std::unique_ptr<Random> random_;
    std::vector<std::string> boxes_;
    std::vector<std::string> log_;

    std::vector<Named> buttons_, checks_, fields_, spins_, lists_, texts_;
    std::vector<QWidget*> enabled_;

  private:
    QTemporaryDir folder_;
    QString previousFolder_;
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
