#pragma once

#include <QDialog>

class Dialogs;
class TSSICom;

// Offered once per disconnection while changes are not yet committed: downloads
// them to the sensor as soon as it is back.
class TDisconnectWarningForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int UpdatedResult = 1;
    static constexpr int AbortResult = 3;

    TDisconnectWarningForm(TSSICom& sensor, Dialogs& dialogs, QWidget* parent = nullptr);

    void UpdateClick();
    void AbortClick();
    // Whether the update wrote the set and sent the commit.
    bool Committed() const { return committed_; }

private:
    TSSICom& sensor_;
    Dialogs& dialogs_;
    bool committed_ = false;
};
