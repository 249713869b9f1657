#include "ui/host.h"

namespace pelko::ui {

Host* RegisteredHost() { return dynamic_cast<Host*>(win::RegisteredUserInterfaceHost()); }

}  // namespace pelko::ui
