// The window's widgets: value semantics of the spin edit, drop-down and text field, the page
// control, the paint box, the event guard with its error box, and the locale's decimal separator.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QTabBar>
#include <string>
#include <utility>
#include <vector>

#include "platform/dropdown.h"
#include "platform/eventguard.h"
#include "platform/messagebox.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/systemlocale.h"
#include "platform/textfield.h"
#include "runtime/errorreport.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "support/qt_environment.h"

namespace metopt::platform {
namespace {

// Records every error box instead of showing it.
class WidgetsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetErrorBoxHandler([this](const std::string& caption, const std::string& text) {
            boxes.emplace_back(caption, text);
        });
    }
    void TearDown() override { SetErrorBoxHandler(nullptr); }

    std::vector<std::pair<std::string, std::string>> boxes;
};

// Types the text into the widget key by key, as the user would.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &release);
    }
}

void LoseFocus(QWidget& widget) {
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&widget, &event);
}

// --- Spin edit ---

using SpinEditTest = WidgetsTest;

TEST_F(SpinEditTest, ShowsItsStartValueClamped) {
    SpinEdit inRange(nullptr, 0, 21, 2);
    SpinEdit above(nullptr, 0, 255, 300);
    EXPECT_EQ(inRange.Text(), "2");
    EXPECT_EQ(above.Text(), "255");
}

TEST_F(SpinEditTest, ValueIsTheTextOrTheMinimum) {
    struct Row {
        const char* text;
        std::int32_t value;
    };
    const Row rows[] = {{"12", 12}, {"300", 300}, {"-7", -7}, {"", 2},
                        {"abc", 2}, {" 5", 5},    {"5 ", 2},  {"$10", 16}};
    SpinEdit spin(nullptr, 2, 255, 30);
    for (const Row& row : rows) {
        spin.SetText(row.text);
        EXPECT_EQ(spin.Value(), row.value) << "text '" << row.text << "'";
    }
}

TEST_F(SpinEditTest, SettingAValueClampsItAndRunsOnChangeOnlyWhenTheTextChanges) {
    SpinEdit spin(nullptr, 0, 255, 0);
    std::vector<std::string> seen;
    spin.OnChange = [&] { seen.push_back(spin.Text()); };
    spin.SetValue(300);
    spin.SetValue(255);
    spin.SetValue(-4);
    spin.SetValue(0);
    EXPECT_EQ(seen, (std::vector<std::string>{"255", "0"}));
}

TEST_F(SpinEditTest, TypingIsFreeAndRunsOnChangePerKey) {
    SpinEdit spin(nullptr, 0, 255, 0);
    std::vector<std::string> seen;
    spin.OnChange = [&] { seen.push_back(spin.Text()); };
    spin.Editor()->selectAll();
    Type(spin.Editor(), "300");
    EXPECT_EQ(seen, (std::vector<std::string>{"3", "30", "300"}));
    EXPECT_EQ(spin.Value(), 300);
}

TEST_F(SpinEditTest, LosingFocusWritesTheClampedValueBack) {
    SpinEdit spin(nullptr, 0, 255, 0);
    int changes = 0;
    spin.OnChange = [&] { ++changes; };
    spin.SetText("300");
    LoseFocus(spin);
    EXPECT_EQ(spin.Text(), "255");
    EXPECT_EQ(changes, 2);
    LoseFocus(spin);
    EXPECT_EQ(changes, 2);  // the text stays, no handler
    spin.SetText("");
    LoseFocus(spin);
    EXPECT_EQ(spin.Text(), "0");
}

TEST_F(SpinEditTest, ArrowsStepFromTheValueAndClamp) {
    SpinEdit spin(nullptr, 2, 255, 30);
    spin.stepBy(1);
    EXPECT_EQ(spin.Text(), "31");
    spin.SetText("300");
    spin.stepBy(1);
    EXPECT_EQ(spin.Text(), "255");
    spin.SetText("abc");
    spin.stepBy(1);
    EXPECT_EQ(spin.Text(), "3");
    spin.SetText("2");
    spin.stepBy(-1);
    EXPECT_EQ(spin.Text(), "2");
}

TEST_F(SpinEditTest, AFailureOfItsHandlerReachesTheCodeThatSetTheValue) {
    SpinEdit spin(nullptr, 0, 10, 0);
    spin.OnChange = [] { throw runtime::EZeroDivide(); };
    EXPECT_THROW(spin.SetValue(5), runtime::EZeroDivide);
    EXPECT_EQ(spin.Text(), "5");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SpinEditTest, AFailureOfItsHandlerWhileTypingShowsOneBox) {
    SpinEdit spin(nullptr, 0, 10, 0);
    spin.OnChange = [] { throw runtime::EZeroDivide(); };
    spin.Editor()->selectAll();
    Type(spin.Editor(), "7");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].second, runtime::ErrorBoxText("Floating point division by zero"));
    EXPECT_EQ(boxes[0].first, ErrorBoxCaption());
}

// --- Drop-down ---

using DropDownTest = WidgetsTest;

TEST_F(DropDownTest, SettingTheIndexFromCodeRunsNothing) {
    DropDown list(nullptr);
    list.AddItem("one");
    list.AddItem("two");
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.SetItemIndex(1);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(list.Text(), "two");
    list.SetItemIndex(-1);
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(list.Text(), "");
    EXPECT_EQ(changes, 0);
}

TEST_F(DropDownTest, TypingClearsTheIndexAndRunsOnChangePerKey) {
    DropDown list(nullptr);
    list.AddItem("one");
    list.AddItem("two");
    list.SetItemIndex(1);
    std::vector<int> seen;
    list.OnChange = [&] { seen.push_back(list.ItemIndex()); };
    list.lineEdit()->selectAll();
    Type(list.lineEdit(), "tw");
    EXPECT_EQ(seen, (std::vector<int>{-1, -1}));
    EXPECT_EQ(list.Text(), "tw");
}

TEST_F(DropDownTest, ChoosingAnItemSetsIndexAndTextAndRunsOnChange) {
    DropDown list(nullptr);
    list.AddItem("one");
    list.AddItem("two");
    list.SetItemIndex(1);
    list.TypeText("something");
    std::vector<int> seen;
    list.OnChange = [&] { seen.push_back(list.ItemIndex()); };
    list.ChooseItem(1);
    list.ChooseItem(0);
    EXPECT_EQ(seen, (std::vector<int>{1, 0}));
    EXPECT_EQ(list.Text(), "one");
}

// --- Text field ---

using TextFieldTest = WidgetsTest;

TEST_F(TextFieldTest, OnChangeRunsOnlyWhenTheTextChanges) {
    TextField field(nullptr, "1.3");
    std::vector<std::string> seen;
    field.OnChange = [&] { seen.push_back(field.Text()); };
    field.SetText("1.3");
    field.SetText("2");
    field.SetText("2");
    field.selectAll();
    Type(&field, "5");
    EXPECT_EQ(seen, (std::vector<std::string>{"2", "5"}));
}

TEST_F(TextFieldTest, AFailureOfItsHandlerReachesTheCodeThatSetTheText) {
    TextField field(nullptr, "");
    field.OnChange = [] { throw runtime::EConvertError::NotAnInteger("x"); };
    EXPECT_THROW(field.SetText("x"), runtime::EConvertError);
    EXPECT_TRUE(boxes.empty());
}

// --- Pastes into the single-line fields ---

void PressControl(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(widget, &release);
}

using PasteTest = WidgetsTest;

// The text part of a text field, a spin edit and a drop-down takes a paste of text, and a paste of
// nothing or of data without any format leaves it as it is.
TEST_F(PasteTest, LineFieldsTakeTextAndIgnoreDataWithoutText) {
    TextField field(nullptr, "12");
    SpinEdit spin(nullptr, 0, 255, 12);
    DropDown list(nullptr);
    list.AddItem("12");
    list.SetItemIndex(0);
    QLineEdit* const editors[] = {&field, spin.Editor(), list.lineEdit()};
    struct Row {
        const char* name;
        QMimeData* (*make)();
        const char* text;
    };
    const Row rows[] = {
        {"nothing", [] { return static_cast<QMimeData*>(nullptr); }, "12"},
        {"no format at all", [] { return new QMimeData; }, "12"},
        {"text",
         [] {
             auto* data = new QMimeData;
             data->setText(QStringLiteral("3"));
             return data;
         },
         "123"},
    };
    QClipboard* clipboard = QApplication::clipboard();
    for (const Row& row : rows) {
        for (QLineEdit* editor : editors) {
            editor->setText(QStringLiteral("12"));
            editor->end(false);
            clipboard->clear();
            if (QMimeData* data = row.make()) {
                clipboard->setMimeData(data);
            }
            PressControl(editor, Qt::Key_V);
            EXPECT_EQ(editor->text().toStdString(), row.text) << row.name;
            // Cut all, then paste it back.
            PressControl(editor, Qt::Key_A);
            PressControl(editor, Qt::Key_X);
            EXPECT_EQ(editor->text().toStdString(), "") << row.name;
            PressControl(editor, Qt::Key_V);
            EXPECT_EQ(editor->text().toStdString(), row.text) << row.name;
        }
    }
    clipboard->clear();
    EXPECT_TRUE(boxes.empty());
}

// --- Event guard ---

using EventGuardTest = WidgetsTest;

TEST_F(EventGuardTest, ShowsTheMessageWithTheDotRuleAndTheApplicationTitle) {
    RunEvent([] { throw runtime::EInOutError(2); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first,
              runtime::ApplicationTitle(QCoreApplication::applicationFilePath().toStdString()));
    EXPECT_EQ(boxes[0].second, runtime::ErrorBoxText("File not found"));
}

TEST_F(EventGuardTest, AbortIsSilentAndOtherExceptionsAreShownToo) {
    RunEvent([] { throw runtime::EAbort(); });
    EXPECT_TRUE(boxes.empty());
    RunEvent([] { throw std::runtime_error("low level"); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].second, runtime::ErrorBoxText("low level"));
}

TEST_F(EventGuardTest, ClearsTheFloatingPointFlagsBeforeTheHandler) {
    volatile long double zero = 0;
    volatile long double quotient = 1 / zero;  // raises the divide-by-zero flag
    (void)quotient;
    RunEvent([] { runtime::CheckFpu(); });
    EXPECT_TRUE(boxes.empty());
}

// --- Paint box ---

using PaintBoxTest = WidgetsTest;

TEST_F(PaintBoxTest, SurfaceFollowsTheSizeAndOnPaintDrawsBeforeItIsShown) {
    PaintBox box(nullptr);
    box.resize(30, 20);
    EXPECT_EQ(box.Surface().Width(), 30);
    EXPECT_EQ(box.Surface().Height(), 20);
    int paints = 0;
    box.OnPaint = [&] {
        ++paints;
        box.Surface().SetPixel(3, 4, 0x0000FF);  // red
    };
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(shown.pixel(3, 4), qRgb(255, 0, 0));
}

TEST_F(PaintBoxTest, AFailingPaintIsReportedOnceAfterThePaint) {
    PaintBox box(nullptr);
    box.resize(10, 10);
    box.OnPaint = [] { throw runtime::EOverflow(); };
    box.grab();
    EXPECT_TRUE(boxes.empty());  // never inside the paint
    QCoreApplication::processEvents();
    box.grab();
    QCoreApplication::processEvents();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].second, runtime::ErrorBoxText("Floating point overflow"));
}

TEST_F(PaintBoxTest, MouseMovesReachTheHandlerWithThePosition) {
    PaintBox box(nullptr);
    box.resize(50, 50);
    std::vector<std::pair<int, int>> seen;
    box.OnMouseMove = [&](int x, int y) { seen.emplace_back(x, y); };
    QMouseEvent move(QEvent::MouseMove, QPointF(12, 3), QPointF(12, 3), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &move);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::make_pair(12, 3));
}

// --- Page control ---

using PageControlTest = WidgetsTest;

TEST_F(PageControlTest, EveryPageGetsTheAreaSizeAlsoWhenHidden) {
    PageControl pages(nullptr);
    std::vector<QWidget*> resized;
    pages.OnPageResize = [&](QWidget* page) { resized.push_back(page); };
    QWidget* first = pages.AddPage("first");
    QWidget* second = pages.AddPage("second");
    resized.clear();
    pages.setGeometry(0, 0, 456, 440);
    pages.LayoutPages();
    EXPECT_EQ(first->size(), QSize(448, 412));
    EXPECT_EQ(second->size(), QSize(448, 412));
    EXPECT_EQ(resized, (std::vector<QWidget*>{first, second}));
    pages.LayoutPages();
    EXPECT_EQ(resized.size(), 2u);  // no change, no call
}

TEST_F(PageControlTest, ShowsOnePageAtATime) {
    PageControl pages(nullptr);
    QWidget* first = pages.AddPage("first");
    QWidget* second = pages.AddPage("second");
    EXPECT_EQ(pages.ActivePage(), first);
    pages.SetActivePage(second);
    EXPECT_EQ(pages.ActivePage(), second);
    EXPECT_TRUE(second->isVisibleTo(&pages));
    EXPECT_FALSE(first->isVisibleTo(&pages));
    EXPECT_EQ(pages.TabBar()->currentIndex(), 1);
}

// --- Decimal separator ---

TEST(SystemLocaleTest, SeparatorIsTheLocalesOneAsciiCharacterElseAPoint) {
    struct Row {
        QString decimalPoint;
        char separator;
    };
    const Row rows[] = {{".", '.'},
                        {",", ','},
                        {"", '.'},
                        {",,", '.'},
                        {QString(QChar(0x066B)), '.'},  // Arabic decimal separator
                        {" ", '.'}};
    for (const Row& row : rows) {
        EXPECT_EQ(SeparatorFromDecimalPoint(row.decimalPoint), row.separator)
            << row.decimalPoint.toStdString();
    }
}

}  // namespace
}  // namespace metopt::platform
