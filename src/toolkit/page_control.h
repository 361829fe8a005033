#pragma once
// A page control: tabs along its top, one page (a tab sheet) shown below them at a time.
// A page's tab may be hidden while the page can still be made active from code.
#include <functional>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace toolkit {

class PageControl;

// A page of a page control; the controls on it name it as their parent.
class TabSheet : public Control {
public:
    TabSheet(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::TabSheet) {}
    ~TabSheet() override;

    PageControl* pageControl() const { return pageControl_; }
    int pageIndex() const;
    // The caption is the tab's text.
    void setCaption(const std::string& s);
    bool tabVisible() const { return tabVisible_; }
    void setTabVisible(bool b);

private:
    friend class PageControl;
    PageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
};

class PageControl : public Control {
public:
    // Height of the row of tabs; the pages fill the rest of the control.
    static constexpr int TabHeight = 24;

    PageControl(Form* owner, std::string name);
    ~PageControl() override;

    // Appends a page: it sits in this control, below the tabs. The first page added is active.
    void addPage(TabSheet& sheet);
    int pageCount() const { return int(pages_.size()); }
    TabSheet& page(int index) const { return *pages_.at(std::size_t(index)); }
    const std::vector<TabSheet*>& pages() const { return pages_; }

    int activePageIndex() const { return active_; }
    TabSheet* activePage() const { return active_ < 0 ? nullptr : pages_[std::size_t(active_)]; }
    // From code: shows the page, no event. An index out of range is ignored.
    void setActivePageIndex(int index);
    void setActivePage(TabSheet& sheet) { setActivePageIndex(sheet.pageIndex()); }

    // The user's click on the tab of page `index`: onChanging may refuse, onChange follows.
    void userSelect(int index);
    std::function<void(bool& allow)> onChanging;
    std::function<void()> onChange;

    // A page's caption or tab changed (its own setters call this).
    void pagesChanged() { changed(Property::Page); }

private:
    friend class TabSheet;
    void removePage(TabSheet* sheet);
    void placePages();
    void showActive();

    std::vector<TabSheet*> pages_;
    int active_ = -1;
    int listener_ = 0;
};

} // namespace toolkit
