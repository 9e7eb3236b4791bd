#pragma once
// The application's implementations of the interface services, installed into
// platform::CurrentServices() for their lifetime (the previous ones come back afterwards):
// the window link, the message box, the tray status and the process launcher.
//
// Order at the end of the run: Close() first (on the interface thread), which releases every
// worker waiting for the interface thread; then stop the workers (device presence, request
// channel); then destroy this object.

#include "app/qt_message_box.h"
#include "app/qt_window_link.h"
#include "app/tray_status_relay.h"
#include "platform/process_launcher.h"
#include "platform/services.h"

namespace kovrel::app {

class InterfaceServices {
public:
    // On the interface thread, before any worker starts.
    InterfaceServices();
    InterfaceServices(const InterfaceServices&) = delete;
    InterfaceServices& operator=(const InterfaceServices&) = delete;
    ~InterfaceServices();

    void Close();

    QtWindowLink window;
    QtMessageBox messageBox;
    TrayStatusRelay tray;
    platform::ProcessLauncher launcher;

private:
    platform::Services previous_;
};

} // namespace kovrel::app
