#pragma once
// What the window's drawing commands do first, shared by the files of its handlers.
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "render/valuescan.h"
#include "ui/mainform.h"

namespace metopt::ui {

enum class RangeScan { Skip, WhenStale };

// What the four drawing buttons do first, in this order: repaints show the picture as it stood
// until the command ends, Stop is cleared, the value range is scanned when the command needs it
// and it is stale, and the page "График" is shown.
class TfmMnForm::DrawingCommand {
  public:
    DrawingCommand(TfmMnForm& form, RangeScan scan) : drawing_(*form.pbDrawAr) {
        app::TSession& session = form.session_;
        session.StopRequested = false;
        if (scan == RangeScan::WhenStale && !session.Plot.ZRangeValid) {
            render::ScanValueRange(session.Plot, session.Samples, form.progress_,
                                   form.GraphFields());
        }
        form.pcMnPage->SetActivePage(form.tsDraw);
    }

  private:
    platform::PaintBox::DrawingScope drawing_;
};

}  // namespace metopt::ui
