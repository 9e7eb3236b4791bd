#include "app/interface_services.h"

namespace kovrel::app {

InterfaceServices::InterfaceServices() : previous_(platform::CurrentServices()) {
    platform::CurrentServices() = platform::Services{&window, &messageBox, &tray, &launcher};
}

InterfaceServices::~InterfaceServices() {
    Close();
    platform::CurrentServices() = previous_;
}

void InterfaceServices::Close() {
    window.Close();
    messageBox.Close();
}

} // namespace kovrel::app
