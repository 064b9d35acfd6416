// Lab files in the window: what "Сохранить работу…" writes, "Открыть работу…" sets in another
// window, with its title and task shown and the file among the recent ones; a refused file
// changes nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <string>
#include <vector>

#include "app/exports.h"
#include "app/labfile.h"
#include "platform/filedialog.h"
#include "platform/pagecontrol.h"
#include "runtime/errorreport.h"
#include "support/mainform_fixture.h"
#include "support/qt_environment.h"
#include "support/test_window.h"

namespace metopt::ui {
namespace {

class WindowLabTest : public MainFormTest {
  protected:
    void SetUp() override {
        MainFormTest::SetUp();
        const auto answer = [](const platform::SaveDialogRequest&) {
            return QStringLiteral("lab.metopt");
        };
        platform::SetSaveDialogHandler(answer);
        platform::SetOpenDialogHandler(answer);
    }
    void TearDown() override {
        platform::SetSaveDialogHandler(nullptr);
        platform::SetOpenDialogHandler(nullptr);
        MainFormTest::TearDown();
    }
    QAction* Item(const char* name) { return form->findChild<QAction*>(QString::fromLatin1(name)); }
};

TEST_F(WindowLabTest, ASavedLabOpensAsTheSameFieldsInAnotherWindow) {
    CreateForm();
    form->SetOptionFields("formula", {"x^2+3*y^2"});
    form->SetOptionFields("region", {"-2", "2", "-1", "1"});
    form->SetOptionFields("method", {"8"});
    form->SetOptionFields("no-axes", {});
    form->SetOptionFields("frame-time", {"0"});
    form->ChooseStopRule(core::TStopRule::Gradient);
    form->Compare({1, 3});
    form->AwaitRunEnd();
    TakeBoxes();
    const app::TSettings saved = form->Lab().settings;
    Item("mmdFsvLab")->trigger();
    ASSERT_EQ(form->findChild<QMenu*>("mmuFrecnt")->actions().size(), 1);

    CreateForm();
    Item("mmdFopLab")->trigger();
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_TRUE(form->Lab().settings == saved);
    EXPECT_EQ(form->Lab().settings.compared, (std::vector<int>{1, 3}));
    EXPECT_EQ(form->windowTitle().toStdString(), "Методы оптимизации");
}

TEST_F(WindowLabTest, TheTitleAndTheTaskAreShownAboveAnEmptyReport) {
    CreateForm();
    IterateAtOnce();
    TakeBoxes();
    app::TLab lab;
    lab.title = "Работа 2";
    lab.task = "Найдите минимум.\nСравните методы.";
    lab.settings.x0 = "1.5";
    app::SaveLab("lab.metopt", lab);
    Item("mmdFopLab")->trigger();
    EXPECT_EQ(form->windowTitle().toStdString(), "Работа 2 — Методы оптимизации");
    const auto* task = form->findChild<QLabel*>("lbLabTsk");
    EXPECT_TRUE(task->isVisibleTo(form->tsReport));
    EXPECT_EQ(task->text().toStdString(), lab.task);
    EXPECT_GE(form->mmOtchet->y(), task->height());
    EXPECT_TRUE(Report().empty());
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsReport);
    EXPECT_EQ(form->meBeg_Xr->Text(), "1.5");
}

TEST_F(WindowLabTest, ARefusedFileChangesNothing) {
    struct Refused {
        const char* keys;
        const char* message;
    };
    const Refused refused[] = {
        {"\"frameTime\": -1", "Файл работы: ключ \"frameTime\": число вне диапазона 0..10000"},
        {"\"palette\": \"missing.dat\"", "Файл работы: ключ \"palette\": File not found."},
    };
    CreateForm();
    const app::TSettings before = form->Lab().settings;
    for (const Refused& file : refused) {
        app::WriteText("lab.metopt", std::string("{\"format\": \"metopt-lab\", \"version\": 1, "
                                                 "\"x0\": \"5\", ") +
                                         file.keys + "}");
        Item("mmdFopLab")->trigger();
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{runtime::ErrorBoxText(file.message)});
        EXPECT_TRUE(form->Lab().settings == before) << file.keys;
    }
}

TEST_F(WindowLabTest, AnUnknownKeyIsNamedInTheStatusLine) {
    CreateForm();
    app::WriteText("lab.metopt", "{\"format\": \"metopt-lab\", \"version\": 1, \"zoom\": 2}");
    Item("mmdFopLab")->trigger();
    EXPECT_EQ(form->StatusText(), "Файл работы: неизвестный ключ \"zoom\" пропущен");
}

}  // namespace
}  // namespace metopt::ui
