// The menu "Файл": the picture, the report and the animation written where the dialog points,
// the write failures' box, and the animation's frames against the window's own pictures.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/exports.h"
#include "app/gifexport.h"
#include "platform/dropdown.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "support/gif_decoder.h"
#include "support/qt_environment.h"
#include "support/test_window.h"

namespace metopt::ui {
using namespace app;

namespace {

class ExportsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        platform::SetErrorBoxHandler(
            [this](const std::string&, const std::string& text) { boxes.push_back(text); });
        platform::SetSaveDialogHandler([this](const platform::SaveDialogRequest& request) {
            requests.push_back(request);
            return answer;
        });
        form = std::make_unique<testsupport::TestWindow>(nullptr, METOPT_DATA_DIR "/Palitr10.dat");
    }
    void TearDown() override {
        form.reset();
        platform::SetSaveDialogHandler(nullptr);
        platform::SetErrorBoxHandler(nullptr);
    }

    QString Path(const char* name) const { return folder_.filePath(QString::fromUtf8(name)); }

    // The map, then the descent with the timer's ticks run at once; the pictures the window
    // saved before the trace and after each tick.
    std::vector<QImage> MapAndAnimatedDescent() {
        form->bbDrMpCl->click();
        return AnimatedDescent();
    }
    std::vector<QImage> AnimatedDescent() {
        form->bbIterat->click();
        form->AwaitRunEnd();
        std::vector<QImage> saved{form->SavedPicture.BackingImage->Image().copy()};
        while (form->tmTimer->isActive()) {
            form->TimerTick();
            if (saved.size() <= form->Descent.TraceCount)
                saved.push_back(form->SavedPicture.BackingImage->Image().copy());
        }
        return saved;
    }

    std::unique_ptr<testsupport::TestWindow> form;
    std::vector<std::string> boxes;
    std::vector<platform::SaveDialogRequest> requests;
    QString answer;  // what the dialog answers; empty: cancelled

  private:
    QTemporaryDir folder_;
};

struct MenuItem {
    const char* name;
    QAction* const testsupport::TestWindow::*action;
    const char* caption;
    const char* defaultName;
    const char* filter;
};

void PrintTo(const MenuItem& item, std::ostream* os) {
    *os << item.name << ": \"" << item.caption << "\", \"" << item.defaultName << "\", \""
        << item.filter << '"';
}

const MenuItem MenuItems[] = {
    {"Picture", &testsupport::TestWindow::mmdFsvPic, "Сохранить рисунок", "metopt.png",
     "Рисунки PNG (*.png)"},
    {"Report", &testsupport::TestWindow::mmdFsvRep, "Сохранить отчет", "metopt.txt",
     "Текстовые файлы (*.txt)"},
    {"Animation", &testsupport::TestWindow::mmdFsvAni, "Сохранить анимацию", "metopt.gif",
     "Анимации GIF (*.gif)"},
};

class MenuItemTest : public ExportsTest, public ::testing::WithParamInterface<MenuItem> {};

TEST_P(MenuItemTest, AsksWithTheDefaultNameThenStartsInTheFolderUsedLast) {
    const MenuItem& item = GetParam();
    MapAndAnimatedDescent();
    QAction* action = form.get()->*item.action;
    answer = Path(item.defaultName);
    action->trigger();
    answer.clear();  // the second time the user cancels: nothing is written, no box
    action->trigger();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].caption, QString::fromUtf8(item.caption));
    EXPECT_EQ(requests[0].proposedPath, QString::fromUtf8(item.defaultName));
    EXPECT_EQ(requests[0].filter, QString::fromUtf8(item.filter));
    EXPECT_EQ(requests[1].proposedPath, Path(item.defaultName));
    EXPECT_TRUE(QFile::exists(Path(item.defaultName)));
    EXPECT_TRUE(boxes.empty());
}

TEST_P(MenuItemTest, AFileThatCannotBeWrittenGivesTheErrorBox) {
    const MenuItem& item = GetParam();
    MapAndAnimatedDescent();
    const QImage picture = form->pbDrawAr->Surface().Image().copy();
    answer = Path("no-such-folder/x");
    (form.get()->*item.action)->trigger();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Cannot write " + answer.toStdString(), 0), 0u) << boxes[0];
    EXPECT_FALSE(QFile::exists(answer));
    EXPECT_EQ(form->pbDrawAr->Surface().Image(), picture);
}

INSTANTIATE_TEST_SUITE_P(Items, MenuItemTest, ::testing::ValuesIn(MenuItems),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ExportsTest, PictureAndReportAreWhatTheWindowHolds) {
    MapAndAnimatedDescent();
    answer = Path("p.png");
    form->mmdFsvPic->trigger();
    EXPECT_EQ(QImage(answer).convertToFormat(QImage::Format_RGB32),
              form->SavedPicture.BackingImage->Image());
    answer = Path("r.txt");
    form->mmdFsvRep->trigger();
    QFile report(answer);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    std::string expected;
    for (const std::string& line : form->ReportLines())
        expected += line + '\n';
    EXPECT_EQ(report.readAll().toStdString(), expected);
    EXPECT_NE(expected.find("Скорейший спуск"), std::string::npos);  // UTF-8 as it stands
}

TEST_F(ExportsTest, AnimationIsTheWindowsPicturesAfterEachTickAndChangesNothing) {
    EXPECT_FALSE(form->mmdFsvAni->isEnabled());
    const std::vector<QImage> saved = MapAndAnimatedDescent();
    ASSERT_EQ(saved.size(), 44u);  // before the trace, then 43 points
    EXPECT_TRUE(form->mmdFsvAni->isEnabled());
    const QImage shown = form->pbDrawAr->Surface().Image().copy();
    form->ShowStatus("kept");
    form->seTimFrm->SetValue(40);
    answer = Path("a.gif");
    form->mmdFsvAni->trigger();

    const testsupport::Decoded gif = testsupport::Decode(answer.toStdString());
    ASSERT_EQ(gif.pictures.size(), saved.size());
    for (std::size_t k = 0; k < saved.size(); ++k)
        EXPECT_EQ(gif.pictures[k], saved[k]) << "frame " << k;
    std::vector<int> delays(saved.size(), 4);
    delays.back() = LastFrameDelay;
    EXPECT_EQ(gif.delays, delays);
    EXPECT_TRUE(gif.loopsForever);
    EXPECT_EQ(form->pbDrawAr->Surface().Image(), shown);
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), saved.back());
    EXPECT_EQ(form->StatusText(), "kept");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ExportsTest, DescentBeforeAnyMapAnimatesWithTheWindowsError) {
    form->seTimFrm->SetValue(0);
    form->bbIterat->click();  // the trace fails as there is no value range yet
    form->AwaitRunEnd();
    ASSERT_EQ(boxes.size(), 1u);
    answer = Path("a.gif");
    form->mmdFsvAni->trigger();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], boxes[0]);
    EXPECT_FALSE(QFile::exists(answer));
}

TEST_F(ExportsTest, ManyColoursAreMappedToAValidFile) {
    // 255 gradient steps, threshold lines over them and the grid: more than 256 colours.
    form->coFill->ChooseItem(1);
    form->seScoGrd->SetValue(255);
    form->coLevel->ChooseItem(1);
    form->cbTrnpLL->setChecked(true);
    form->bbDrMpCl->click();
    form->bbDrMpLL->click();
    form->bbDrGrid->click();
    AnimatedDescent();
    const std::string file = Path("many.gif").toStdString();
    EXPECT_TRUE(WriteAnimation(form->Session(), form->FrameTime(), file));
    EXPECT_EQ(testsupport::Decode(file).pictures.size(), 44u);
    form->coFill->ChooseItem(0);  // the ten-colour map is exact
    MapAndAnimatedDescent();
    EXPECT_FALSE(WriteAnimation(form->Session(), form->FrameTime(), file));
}

TEST(FrameDelay, TenMillisecondUnitsAtLeastTwoAndZeroIsATenth) {
    const std::pair<std::int32_t, int> cases[] = {
        {0, 10},   {-5, 10},  {1, 2},    {20, 2},       {24, 2},        {25, 3},
        {100, 10}, {104, 10}, {105, 11}, {10000, 1000}, {700000, 65535}};
    for (const auto& [ms, delay] : cases)
        EXPECT_EQ(FrameDelay(ms), delay) << ms;
}

}  // namespace
}  // namespace metopt::ui
