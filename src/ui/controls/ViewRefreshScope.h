#pragma once

// Holds the view-refreshing flag set for as long as the parameter view is being
// filled; a scope inside another leaves the flag as the outer one wants it.
class ViewRefreshScope {
public:
    explicit ViewRefreshScope(bool& viewRefreshing)
        : flag_(viewRefreshing), before_(viewRefreshing) {
        flag_ = true;
    }
    ~ViewRefreshScope() { flag_ = before_; }
    ViewRefreshScope(const ViewRefreshScope&) = delete;
    ViewRefreshScope& operator=(const ViewRefreshScope&) = delete;

private:
    bool& flag_;
    bool before_;
};
