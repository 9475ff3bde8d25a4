#pragma once

// Holds the view-refreshing flag set for as long as the parameter view is being filled.
class ViewRefreshScope {
public:
    explicit ViewRefreshScope(bool& viewRefreshing) : flag_(viewRefreshing) { flag_ = true; }
    ~ViewRefreshScope() { flag_ = false; }
    ViewRefreshScope(const ViewRefreshScope&) = delete;
    ViewRefreshScope& operator=(const ViewRefreshScope&) = delete;

private:
    bool& flag_;
};

// The rules every change handler begins with. An edit handler runs only while the
// view is not being refreshed. A choice handler (radio group, check box) also
// swallows the one event that follows setting the one-shot flag ControlSettings,
// and clears it.
class EditorGuard {
public:
    EditorGuard(const bool& viewRefreshing, bool& controlSettings)
        : viewRefreshing_(viewRefreshing), controlSettings_(controlSettings) {}

    bool editMayRun() const { return !viewRefreshing_; }
    bool choiceMayRun();
    // Called before a handler puts a choice back itself.
    void swallowNextChoice();

private:
    const bool& viewRefreshing_;
    bool& controlSettings_;
};
