// The single-line fields of the window: value semantics of the spin edit, the drop-down and the
// text field, and what a paste puts into each of them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMimeData>
#include <string>
#include <vector>

#include "platform/dropdown.h"
#include "platform/eventguard.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "runtime/errorreport.h"
#include "runtime/exceptions.h"
#include "support/error_boxes.h"
#include "support/keys.h"
#include "support/qt_environment.h"

namespace metopt::platform {
namespace {

using testsupport::SendKey;
using testsupport::TypeKeys;

void LoseFocus(QWidget& widget) {
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&widget, &event);
}

// --- Spin edit ---

using SpinEditTest = testsupport::ErrorBoxesTest;

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
    TypeKeys(spin.Editor(), "300");
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
    TypeKeys(spin.Editor(), "7");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].second, runtime::ErrorBoxText("Floating point division by zero"));
    EXPECT_EQ(boxes[0].first, ErrorBoxCaption());
}

// --- Drop-down ---

using DropDownTest = testsupport::ErrorBoxesTest;

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
    TypeKeys(list.lineEdit(), "tw");
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

using TextFieldTest = testsupport::ErrorBoxesTest;

TEST_F(TextFieldTest, OnChangeRunsOnlyWhenTheTextChanges) {
    TextField field(nullptr, "1.3");
    std::vector<std::string> seen;
    field.OnChange = [&] { seen.push_back(field.Text()); };
    field.SetText("1.3");
    field.SetText("2");
    field.SetText("2");
    field.selectAll();
    TypeKeys(&field, "5");
    EXPECT_EQ(seen, (std::vector<std::string>{"2", "5"}));
}

TEST_F(TextFieldTest, AFailureOfItsHandlerReachesTheCodeThatSetTheText) {
    TextField field(nullptr, "");
    field.OnChange = [] { throw runtime::EConvertError::NotAnInteger("x"); };
    EXPECT_THROW(field.SetText("x"), runtime::EConvertError);
    EXPECT_TRUE(boxes.empty());
}

// --- Pastes into the single-line fields ---

using PasteTest = testsupport::ErrorBoxesTest;

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
            SendKey(editor, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(editor->text().toStdString(), row.text) << row.name;
            // Cut all, then paste it back.
            SendKey(editor, Qt::Key_A, Qt::ControlModifier);
            SendKey(editor, Qt::Key_X, Qt::ControlModifier);
            EXPECT_EQ(editor->text().toStdString(), "") << row.name;
            SendKey(editor, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(editor->text().toStdString(), row.text) << row.name;
        }
    }
    clipboard->clear();
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace metopt::platform
