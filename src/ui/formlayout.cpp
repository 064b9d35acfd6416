// The window's layout: the page control takes what the fixed-width command panel leaves, and the
// drawing area can be given an exact size.
#include <QEvent>
#include <QFrame>
#include <QLayout>
#include <QMenuBar>
#include <algorithm>

#include "platform/pagecontrol.h"
#include "ui/designcontrols.h"
#include "ui/mainform.h"

namespace metopt::ui {

QSize TfmMnForm::WindowSizeFor(int clientWidth, int pageControlHeight) const {
    return QSize(clientWidth, mmMnMenu->sizeHint().height() + pageControlHeight + StatusHeight);
}

void TfmMnForm::LayoutForDrawingArea(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const int pageControlWidth = width + 2 * platform::PageControl::FrameWidth;
    const int pageControlHeight =
        height + platform::PageControl::TabHeight + 2 * platform::PageControl::FrameWidth;
    const QSize size = WindowSizeFor(pageControlWidth + PanelWidth, pageControlHeight);
    setMinimumSize(minimumSize().boundedTo(size));
    resize(size);
    LayoutControls();
}

void TfmMnForm::LayoutControls() {
    // The main window's own layout places the menu bar, the client area and the status bar; a
    // hidden window gets no resize events, so it is asked to do so now.
    layout()->invalidate();
    layout()->activate();
    PlaceClientControls();
}

void TfmMnForm::PlaceClientControls() {
    // The page control takes what the fixed-width panel on the right leaves.
    const QSize client = clientArea_->size();
    pcMnPage->setGeometry(0, 0, std::max(0, client.width() - PanelWidth), client.height());
    pnButton->setGeometry(client.width() - PanelWidth, 0, PanelWidth, client.height());
    pcMnPage->LayoutPages();
}

bool TfmMnForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == clientArea_ && event->type() == QEvent::Resize) {
        PlaceClientControls();
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace metopt::ui
