#include "qt/page_control_binding.h"

#include <QFrame>
#include <QSignalBlocker>
#include <vector>

#include "qt/qt_text.h"
#include "toolkit/toolkit.h"

namespace qtui {

using namespace toolkit;

namespace {

class PageControlBinding : public ControlBinding {
public:
    PageControlBinding(PageControl& c, QWidget* w) : ControlBinding(c, w), pages_(c), bar_(new QTabBar(w)) {
        bar_->setObjectName(QStringLiteral("tabs"));
        bar_->setExpanding(false);
        bar_->setDrawBase(true);
        connect(bar_, &QTabBar::currentChanged, this, [this](int tab) { userChose(tab); });
        // While the page shown has a hidden tab the bar still marks one of the others, whose
        // click changes nothing in the bar: it must still reach the model.
        connect(bar_, &QTabBar::tabBarClicked, this, [this](int tab) { userChose(tab); });
    }
    void apply(Property p) override {
        if (p == Property::Bounds)
            bar_->setGeometry(0, 0, control_.bounds().width, PageControl::TabHeight);
        if (p == Property::Page || p == Property::Caption)
            rebuild();
    }

private:
    void userChose(int tab) {
        if (rebuilding_ || tab < 0 || tab >= int(tabPages_.size()))
            return;
        int page = tabPages_[std::size_t(tab)];
        if (page != pages_.activePageIndex())
            dispatch([this, page] { pages_.userSelect(page); });
        // A refused change leaves the tab of the page still shown.
        showCurrent();
    }
    void rebuild() {
        rebuilding_ = true;
        {
            QSignalBlocker block(bar_);
            while (bar_->count() > 0)
                bar_->removeTab(0);
            tabPages_.clear();
            for (int i = 0; i < pages_.pageCount(); ++i) {
                TabSheet& s = pages_.page(i);
                if (!s.tabVisible())
                    continue;
                bar_->addTab(withoutMark(s.caption()));
                tabPages_.push_back(i);
            }
        }
        showCurrent();
        rebuilding_ = false;
    }
    void showCurrent() {
        QSignalBlocker block(bar_);
        int tab = -1;
        for (std::size_t t = 0; t < tabPages_.size(); ++t)
            if (tabPages_[t] == pages_.activePageIndex())
                tab = int(t);
        bar_->setCurrentIndex(tab);
    }
    static QString withoutMark(const std::string& s) {
        QString out;
        QString in = qs(s);
        for (qsizetype i = 0; i < in.size(); ++i) {
            if (in[i] == '&' && i + 1 < in.size())
                ++i;
            out += in[i];
        }
        return out;
    }

    PageControl& pages_;
    QTabBar* bar_;
    std::vector<int> tabPages_; // the page of each tab shown
    bool rebuilding_ = false;
};

class TabSheetBinding : public ControlBinding {
public:
    TabSheetBinding(TabSheet& c, QFrame* w) : ControlBinding(c, w) {
        w->setFrameShape(QFrame::StyledPanel);
        w->setFrameShadow(QFrame::Plain);
        w->setAutoFillBackground(true);
    }
};

} // namespace

std::unique_ptr<ControlBinding> bindPageControl(PageControl& pages, QWidget* parent) {
    return std::make_unique<PageControlBinding>(pages, new QWidget(parent));
}

std::unique_ptr<ControlBinding> bindTabSheet(TabSheet& sheet, QWidget* parent) {
    return std::make_unique<TabSheetBinding>(sheet, new QFrame(parent));
}

QTabBar* tabBarOf(QWidget* w) { return w ? w->findChild<QTabBar*>(QStringLiteral("tabs"), Qt::FindDirectChildrenOnly) : nullptr; }

} // namespace qtui
