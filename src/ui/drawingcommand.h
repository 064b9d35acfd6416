#pragma once
// What the window's drawing commands do first, shared by the files of its handlers.
#include "app/commands.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "ui/mainform.h"

namespace metopt::ui {

// What the grid and the runs do first, in this order: repaints show the picture as it stood until
// the command ends, Stop is cleared and the page "График" is shown. (A map shows the page once
// its range is known.)
class TfmMnForm::DrawingCommand {
  public:
    // A step of "По шагам" keeps the stepping going.
    enum class Kind { Command, Step };
    explicit DrawingCommand(TfmMnForm& form, Kind kind = Kind::Command) : drawing_(*form.pbDrawAr) {
        form.ForgetOverlays();
        if (kind == Kind::Step)
            app::BeginStepDrawing(form.session_);
        else
            app::BeginDrawing(form.session_);
        form.pcMnPage->SetActivePage(form.tsDraw);
    }

  private:
    platform::PaintBox::DrawingScope drawing_;
};

}  // namespace metopt::ui
