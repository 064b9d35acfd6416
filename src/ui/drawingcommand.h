#pragma once
// What the window's drawing commands do first, shared by the files of its handlers.
#include "app/commands.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "ui/mainform.h"

namespace metopt::ui {

// What the four drawing buttons do first, in this order: repaints show the picture as it stood
// until the command ends, Stop is cleared, the value range is scanned when the command needs it
// and it is stale, and the page "График" is shown.
class TfmMnForm::DrawingCommand {
  public:
    DrawingCommand(TfmMnForm& form, const app::TSettings& settings, app::RangeScan scan)
        : drawing_(*form.pbDrawAr) {
        app::BeginDrawing(form.session_, settings, form.progress_, scan);
        form.pcMnPage->SetActivePage(form.tsDraw);
    }

  private:
    platform::PaintBox::DrawingScope drawing_;
};

}  // namespace metopt::ui
