#include "ui/dialog_look.h"

// The icon lives in this static library's resources, which must be registered by hand
// (at global namespace, where the resource compiler defines its function).
static void InitQuensetResources() { Q_INIT_RESOURCE(quenset); }

namespace quenset {

QIcon ProgramIcon() {
    static const bool registered = (InitQuensetResources(), true);
    (void)registered;
    return QIcon(QStringLiteral(":/quenset/quenset.png"));
}

}  // namespace quenset
