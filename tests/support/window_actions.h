#pragma once
// What a fuzzed user does to the window: clicks, tabs, typed and pasted texts, cuts and pastes
// with all kinds of clipboards, edit keys, spin steps, list choices, window sizes, timer ticks,
// mouse moves and the menu, each chosen by a seeded Random and returning its description.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/labfile.h"
#include "core/runreport.h"
#include "render/fieldtexts.h"
#include "render/levellines.h"
#include "support/fuzz_texts.h"
#include "support/keys.h"
#include "support/window_fixture.h"

namespace metopt::testsupport {

class WindowActions : public WindowFixture {
  protected:
    // Puts one of the clipboard's kinds of content there: nothing, data of no format, a picture,
    // HTML only, or a text.
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
        testsupport::TestWindow& f = *form_;
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
            {{"meCnR0", f.meCnR0}, descent.penaltyStart},
            {{"meCnGr", f.meCnGr}, descent.penaltyGrowth},
            {{"meCnEps", f.meCnEps}, descent.outerEps},
            {{"seTimFrm", f.seTimFrm}, std::to_string(random_->Between(0, 30))},
            {{"seScoGrd", f.seScoGrd}, "30"},
            {{"seDiNmCl", f.seDiNmCl}, std::to_string(random_->Between(0, 21))},
        };
        if (random_->Percent(15)) {
            f.coEquat->ChooseItem(random_->Between(0, f.coEquat->count() - 1));
            return "choose an equation: item " + std::to_string(f.coEquat->ItemIndex());
        }
        const auto& [target, text] = random_->Pick(starts);
        const std::string what = Reach(target.widget);
        SendKey(target.widget, Qt::Key_A, Qt::ControlModifier);
        TypeKeys(target.widget, QString::fromStdString(text));
        return what + "select all, type " + Quoted(text) + " into " + target.name;
    }

    // A formula typed into the equation list, then Enter or leaving it: good ones, bad ones and
    // hostile ones (deep, long, odd characters).
    std::string TypeFormula() {
        static const std::vector<std::string> formulas = {
            "x*x+y*y",
            "(y-x*x)*(y-x*x) + (1-x*x)*(1-x*x)",
            "(sin(r))/r, r=sqrt(x*x+y*y)",
            "100*(y-x*x)^2+(1-x)^2",
            "exp(x*y)-ln(abs(x)+1)",
            "x^y",
            "1/x",
            "ln(x)",
            "sqrt(-1)",
            "exp(20000*x)",
            "sin(x*(y+1)",
            "sni(x)",
            "x*",
            "r, r=r+1",
            "a+b, a=b, b=a",
            "x y",
            "",
            "   ",
            "2^3^2^2^2",
            "х+у",
            std::string(300, '(') + "x" + std::string(300, ')'),
            std::string(5000, 'x'),
            "x" + std::string(2000, '+') + "y",
        };
        std::string text = random_->Pick(formulas);
        if (random_->Percent(20))
            text = AnyText(*random_);
        testsupport::TestWindow& f = *form_;
        const std::string what = Reach(f.coEquat);
        f.coEquat->TypeText(text);
        if (random_->Percent(50)) {
            QTest::keyClick(f.coEquat->lineEdit(), Qt::Key_Return);
            return what + "type " + Quoted(text) + " into coEquat, Enter";
        }
        f.coEquat->FinishEditing();
        return what + "type " + Quoted(text) + " into coEquat, leave it";
    }

    // Constraints (good ones and hostile ones) into their field, and a constraint method.
    std::string TypeConstraints() {
        static const std::vector<std::string> lists = {
            "x^2 - y <= 0\nx + y <= 2",
            "x + y = 1",
            "x^2+y^2 <= 2",
            "r >= 0.25, r = x*x + y*y",
            "sqrt(x) <= 1\n\n1/y >= 0",
            "x <= 1e4000",
            "x + y",
            "x <= ",
            "<= 1",
            "x <= 1 <= 2",
            "ln(x) = y\r\nx \u2265 -1",
            std::string(5000, 'x') + " <= 1",
            "x <= 1\nx <= 1\nx <= 1\nx <= 1\nx <= 1\nx <= 1\nx <= 1\nx <= 1\nx <= 1\n"
            "x <= 1\nx <= 1\nx <= 1\nx <= 1\nx <= 1\nx <= 1\nx <= 1\nx <= 1",
            "",
        };
        std::string text = random_->Pick(lists);
        if (random_->Percent(20))
            text = AnyText(*random_);
        testsupport::TestWindow& f = *form_;
        std::string what = Reach(f.mmCnList);
        f.mmCnList->setPlainText(QString::fromStdString(text));
        const int method = random_->Below(core::ConstraintMethodCount);
        f.mmdWkCnMt[static_cast<std::size_t>(method)]->trigger();
        return what + "type " + Quoted(text) + " into mmCnList, constraint method " +
               std::to_string(method);
    }

    // A method of machine learning (now and then a classic one) with a value, good or bad, in
    // one of the fields of its group, and now and then one of its check boxes.
    std::string UseLearningMethod() {
        testsupport::TestWindow& f = *form_;
        const int item = random_->Percent(80) ? random_->Between(12, core::MethodCount - 1)
                                              : random_->Between(0, 11);
        std::string what = Reach(f.coMetOpt);
        f.coMetOpt->ChooseItem(item);
        what += "choose method " + std::to_string(item);
        static const std::vector<std::string> values = {
            "0.01",   "0.1",     "0",   "-1", "1", "0.999", "0.5",
            "1e4000", "1e-4000", "abc", "",   "7", "1.5",   "4294967296"};
        const std::vector<Named> fields = {{"meLrRate", f.meLrRate}, {"meLrMom", f.meLrMom},
                                           {"meLrRho", f.meLrRho},   {"meLrB1", f.meLrB1},
                                           {"meLrB2", f.meLrB2},     {"meLrNois", f.meLrNois},
                                           {"meLrSeed", f.meLrSeed}};
        const Named& field = random_->Pick(fields);
        const std::string text = random_->Pick(values);
        static_cast<platform::TextField*>(field.widget)->SetText(text);
        what += ", type " + Quoted(text) + " into " + field.name;
        if (random_->Percent(30)) {
            QCheckBox* box = random_->Percent(50) ? f.cbLrBias : f.cbLrVect;
            box->click();
            what += ", click " + box->objectName().toStdString();
        }
        return what;
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

    // A point over the widget or just beside it, and its text.
    QPointF PointAround(const QWidget* widget) {
        return QPointF(random_->Between(-3, widget->width() + 3),
                       random_->Between(-3, widget->height() + 3));
    }
    static std::string PointText(QPointF at) {
        return " (" + std::to_string(static_cast<int>(at.x())) + "," +
               std::to_string(static_cast<int>(at.y())) + ")";
    }

    std::string MoveMouse() {
        QWidget* area = form_->pbDrawAr;
        const std::string what = Reach(area);
        const int moves = random_->Between(1, 8);
        const bool pressed = random_->Percent(20);
        // A plain left press is a click that may set the start point; the middle button, or the
        // left with Ctrl, drags the region.
        const int kind = random_->Below(3);
        const Qt::MouseButton button = kind == 2 ? Qt::MiddleButton : Qt::LeftButton;
        const Qt::KeyboardModifiers keys = kind == 1 ? Qt::ControlModifier : Qt::NoModifier;
        std::string points;
        const auto somewhere = [&] { return PointAround(area); };
        const auto named = PointText;
        if (pressed) {
            const QPointF at = somewhere();
            QMouseEvent press(QEvent::MouseButtonPress, at, area->mapToGlobal(at), button, button,
                              keys);
            QCoreApplication::sendEvent(area, &press);
            points += " from" + named(at);
        }
        QPointF at;
        for (int i = 0; i < moves; ++i) {
            at = somewhere();
            QMouseEvent move(QEvent::MouseMove, at, area->mapToGlobal(at), Qt::NoButton,
                             pressed ? button : Qt::NoButton, keys);
            QCoreApplication::sendEvent(area, &move);
            points += named(at);
        }
        if (pressed) {
            QMouseEvent release(QEvent::MouseButtonRelease, at, area->mapToGlobal(at), button,
                                Qt::NoButton, keys);
            QCoreApplication::sendEvent(area, &release);
        }
        const char* const drags[] = {"drag the mouse over", "Ctrl-drag the mouse over",
                                     "middle-drag the mouse over"};
        return what + (pressed ? drags[kind] : "move the mouse over") + points;
    }

    // The wheel over the map, or "Подобрать область", "Вернуть область" or "По шагам", or an
    // iteration chosen on the page "Одномерный поиск".
    std::string ChangeView() {
        if (random_->Percent(25)) {
            QAction* const items[] = {form_->mmdWkFitR, form_->mmdWkBckR, form_->mmdWkStep};
            QAction* item = items[random_->Below(3)];
            item->trigger();
            return "menu item " + item->text().toStdString();
        }
        if (random_->Percent(10)) {
            const int iteration = random_->Between(0, form_->seLnIter->maximum() + 1);
            form_->seLnIter->setValue(iteration);
            return "choose iteration " + std::to_string(iteration) + " of the line searches";
        }
        QWidget* area = form_->pbDrawAr;
        const std::string what = Reach(area);
        const QPointF at(random_->Between(0, area->width()), random_->Between(0, area->height()));
        const int eighths =
            random_->Percent(80) ? 120 * random_->Between(-3, 3) : random_->Between(-500, 500);
        QWheelEvent wheel(at, area->mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(area, &wheel);
        return what + "turn the wheel by " + std::to_string(eighths) + " eighths of a degree at" +
               " (" + std::to_string(static_cast<int>(at.x())) + "," +
               std::to_string(static_cast<int>(at.y())) + ")";
    }

    // On the page "Поверхность": a drag with the left button, wheel notches or a double-click, and
    // the repaint they bring.
    std::string TurnSurface() {
        QWidget* box = form_->sbSurf;
        const std::string what = Reach(box);
        const auto somewhere = [&] { return PointAround(box); };
        const auto named = PointText;
        std::string done;
        const int kind = random_->Below(3);
        QPointF at = somewhere();
        if (kind == 0) {
            QMouseEvent press(QEvent::MouseButtonPress, at, box->mapToGlobal(at), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(box, &press);
            done = "drag the surface from" + named(at);
            for (int i = random_->Between(1, 6); i > 0; --i) {
                at = somewhere();
                QMouseEvent move(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton,
                                 Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(box, &move);
                done += named(at);
            }
            QMouseEvent release(QEvent::MouseButtonRelease, at, box->mapToGlobal(at),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(box, &release);
        } else if (kind == 1) {
            const int eighths = random_->Percent(80) ? 120 * random_->Between(-12, 12)
                                                     : random_->Between(-500, 500);
            QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(box, &wheel);
            done = "turn the wheel over the surface by " + std::to_string(eighths);
        } else {
            QTest::mouseDClick(box, Qt::LeftButton, Qt::NoModifier, at.toPoint());
            done = "double-click the surface at" + named(at);
        }
        box->grab();
        return what + done;
    }

    std::string UseMenu() {
        if (random_->Percent(30)) {
            form_->mmdFexit->trigger();
            EXPECT_FALSE(form_->isVisible()) << "Выход left the window open";
            EXPECT_FALSE(form_->tmTimer->isActive()) << "Выход left the animation running";
            form_->show();
            return "Выход, then open the window again";
        }
        if (random_->Percent(40)) {
            // Some methods checked or unchecked, then the comparison.
            const QList<QAction*> methods = form_->mmuWkCmpS->actions();
            std::string what = "compare methods, toggling";
            for (int i = random_->Between(0, 3); i > 0; --i) {
                QAction* method = methods[random_->Below(static_cast<int>(methods.size()))];
                method->trigger();
                what += " " + method->text().toStdString();
            }
            form_->mmdWkCmpR->trigger();
            return what;
        }
        if (random_->Percent(30) && form_->mmdFopLab->isEnabled()) {
            // A lab saved and opened again sets every field as it stood.
            const app::TSettings before = form_->Lab().settings;
            form_->mmdFsvLab->trigger();
            form_->mmdFopLab->trigger();
            EXPECT_TRUE(form_->Lab().settings == before) << "a lab saved and opened again differs";
            return "save the lab and open it again";
        }
        if (random_->Percent(50)) {
            QAction* const rules[] = {form_->mmdWkStSt, form_->mmdWkStGr, form_->mmdWkStFn};
            QAction* rule = rules[random_->Below(3)];
            rule->trigger();
            EXPECT_TRUE(rule->isChecked());
            return "stop rule " + rule->text().toStdString();
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
            std::string (WindowActions::*act)();
        };
        static const Kind kinds[] = {
            {6, &WindowActions::ClickButton},
            {7, &WindowActions::ClickTab},
            {4, &WindowActions::ClickCheck},
            {18, &WindowActions::TypeText},
            {9, &WindowActions::PasteOrCut},
            {8, &WindowActions::EditKeys},
            {6, &WindowActions::StepSpin},
            {2, &WindowActions::LeaveField},
            {6, &WindowActions::ChooseItem},
            {4, &WindowActions::Resize},
            {12, &WindowActions::Ticks},
            {8, &WindowActions::MoveMouse},
            {3, &WindowActions::UseMenu},
            {1, &WindowActions::ChangeLocale},
            {8, &WindowActions::RestoreField},
            {4, &WindowActions::TypeFormula},
            {3, &WindowActions::ChangeView},
            {3, &WindowActions::TypeConstraints},
            {3, &WindowActions::UseLearningMethod},
            {3, &WindowActions::TurnSurface},
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

    std::unique_ptr<Random> random_;  // made by the test from its seed
};

}  // namespace metopt::testsupport
