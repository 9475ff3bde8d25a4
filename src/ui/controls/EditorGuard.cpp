#include "ui/controls/EditorGuard.h"

bool EditorGuard::choiceMayRun() {
    if (viewRefreshing_)
        return false;
    if (!controlSettings_)
        return true;
    controlSettings_ = false;
    return false;
}

void EditorGuard::swallowNextChoice() {
    controlSettings_ = true;
}
