#include "platform/eventguard.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <exception>

#include "platform/messagebox.h"
#include "runtime/errorreport.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::platform {

namespace {

void ReleaseMouseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber()) {
        grabber->releaseMouse();
    }
}

// Runs the handler; returns false and sets message when an exception escaped it that is to be
// shown (EAbort is silent and gives true).
// Deliberate: see docs/behaviour.md, "No rollback".
bool RunCatching(const Handler& handler, std::string& message) {
    try {
        runtime::ClearFpuFlags();
        if (handler) {
            handler();
        }
        return true;
    } catch (const runtime::EAbort&) {
        ReleaseMouseCapture();
        return true;
    } catch (const runtime::Exception& e) {
        message = e.Message();
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "Unknown error";
    }
    ReleaseMouseCapture();
    return false;
}

}  // namespace

std::string ErrorBoxCaption() {
    return runtime::ApplicationTitle(QCoreApplication::applicationFilePath().toStdString());
}

void ReportError(const std::string& message) {
    ShowErrorBox(ErrorBoxCaption(), runtime::ErrorBoxText(message));
}

void RunEvent(const Handler& handler) {
    std::string message;
    if (!RunCatching(handler, message)) {
        ReportError(message);
    }
}

// Deliberate: see docs/behaviour.md, "Repaint never fails".
void RunPaint(const Handler& handler, PaintFailures& failures, QObject& widget) {
    std::string message;
    if (RunCatching(handler, message)) {
        failures.last.clear();
        return;
    }
    if (message == failures.last || failures.reportPending) {
        return;
    }
    failures.last = message;
    failures.reportPending = true;
    // A modal box must not open inside a paint event: show it once the paint is over (and not at
    // all when the widget is gone by then).
    QTimer::singleShot(0, &widget, [&failures, message] {
        failures.reportPending = false;
        ReportError(message);
    });
}

}  // namespace metopt::platform
