#include "ui/not_yet_built.h"

#include <QWidget>
#include <vector>

namespace {

struct NotYetBuilt {
    const char* objectName;
    const char* comesWith;
};

const std::vector<NotYetBuilt> kNotYetBuilt = {};

}  // namespace

void DisableNotYetBuilt(QWidget& window) {
    for (const NotYetBuilt& row : kNotYetBuilt) {
        auto* control = window.findChild<QWidget*>(QLatin1String(row.objectName));
        if (!control) continue;
        control->setEnabled(false);
        control->setToolTip(
            QStringLiteral("Not available yet: comes with %1").arg(QLatin1String(row.comesWith)));
    }
}

bool IsNotYetBuilt(const QString& objectName) {
    for (const NotYetBuilt& row : kNotYetBuilt)
        if (objectName == QLatin1String(row.objectName)) return true;
    return false;
}
