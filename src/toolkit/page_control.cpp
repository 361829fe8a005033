#include "toolkit/page_control.h"

#include <algorithm>

namespace toolkit {

TabSheet::~TabSheet() {
    if (pageControl_)
        pageControl_->removePage(this);
}

int TabSheet::pageIndex() const {
    if (!pageControl_)
        return -1;
    const auto& pages = pageControl_->pages();
    auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : int(it - pages.begin());
}

void TabSheet::setCaption(const std::string& s) {
    Control::setCaption(s);
    if (pageControl_)
        pageControl_->pagesChanged();
}

void TabSheet::setTabVisible(bool b) {
    if (tabVisible_ == b)
        return;
    tabVisible_ = b;
    if (pageControl_)
        pageControl_->pagesChanged();
}

PageControl::PageControl(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::PageControl) {
    // The pages follow the control's size.
    listener_ = subscribe([this](Control&, Property p) {
        if (p == Property::Bounds)
            placePages();
    });
}

PageControl::~PageControl() {
    unsubscribe(listener_);
    for (TabSheet* s : pages_)
        s->pageControl_ = nullptr;
}

void PageControl::addPage(TabSheet& sheet) {
    if (sheet.pageControl_)
        sheet.pageControl_->removePage(&sheet);
    sheet.pageControl_ = this;
    sheet.setParentName(name());
    pages_.push_back(&sheet);
    if (active_ < 0)
        active_ = 0;
    placePages();
    showActive();
    pagesChanged();
}

void PageControl::removePage(TabSheet* sheet) {
    auto it = std::find(pages_.begin(), pages_.end(), sheet);
    if (it == pages_.end())
        return;
    int index = int(it - pages_.begin());
    pages_.erase(it);
    sheet->pageControl_ = nullptr;
    if (pages_.empty())
        active_ = -1;
    else if (index < active_ || active_ >= int(pages_.size()))
        --active_;
    showActive();
    pagesChanged();
}

void PageControl::placePages() {
    const Rect& r = bounds();
    for (TabSheet* s : pages_)
        s->setBounds(0, TabHeight, r.width, std::max(0, r.height - TabHeight));
}

void PageControl::showActive() {
    for (std::size_t i = 0; i < pages_.size(); ++i)
        pages_[i]->setVisible(int(i) == active_);
}

void PageControl::setActivePageIndex(int index) {
    if (index < 0 || index >= int(pages_.size()) || index == active_)
        return;
    active_ = index;
    showActive();
    pagesChanged();
}

void PageControl::userSelect(int index) {
    if (index < 0 || index >= int(pages_.size()) || index == active_ || !enabled())
        return;
    if (!pages_[std::size_t(index)]->tabVisible())
        return; // a hidden tab cannot be clicked
    bool allow = true;
    if (onChanging)
        onChanging(allow);
    if (!allow)
        return;
    setActivePageIndex(index);
    if (onChange)
        onChange();
}

} // namespace toolkit
