#include "app/controls/EditorGuard.h"

#include <QCheckBox>

bool EditorGuard::choiceMayRun() {
    if (viewRefreshing_)
        return false;
    if (!controlSettings_.isChecked())
        return true;
    controlSettings_.setChecked(false);
    return false;
}

void EditorGuard::swallowNextChoice() {
    controlSettings_.setChecked(true);
}
