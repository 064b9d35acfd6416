#include "platform/pagecontrol.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <algorithm>

namespace metopt::platform {

namespace {

// The least space a tab keeps around its caption.
constexpr int MinTabSpace = 6;
// The smallest share of the control's font the captions take to fit.
constexpr double MinTabFontShare = 0.68;

// The style of the tab bar with the space around the captions it is given: the style's own while
// the tabs fit the bar, less when they do not, so that no caption is cut.
class TabSpaceStyle final : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace && space_ >= 0)
            return space_;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    void SetSpace(int space) { space_ = space; }

  private:
    int space_ = -1;
};

}  // namespace

PageControl::PageControl(QWidget* parent) : QWidget(parent), tabBar_(new QTabBar(this)) {
    tabStyle_ = new TabSpaceStyle;
    tabStyle_->setParent(tabBar_);
    tabBar_->setStyle(tabStyle_);
    tabBar_->setDrawBase(false);
    tabBar_->setExpanding(false);
    tabBar_->setUsesScrollButtons(true);
    tabBar_->setElideMode(Qt::ElideNone);
    connect(tabBar_, &QTabBar::currentChanged, this, [this](int index) { ShowPage(index); });
}

QWidget* PageControl::AddPage(const QString& caption) {
    auto* page = new QWidget(this);
    page->setAutoFillBackground(true);
    pages_.push_back(page);
    lastSizes_.push_back(QSize(-1, -1));
    tabBar_->addTab(caption);
    page->setVisible(pages_.size() == 1);
    LayoutPages();
    return page;
}

QWidget* PageControl::ActivePage() const {
    const int index = tabBar_->currentIndex();
    return index >= 0 && index < static_cast<int>(pages_.size())
               ? pages_[static_cast<std::size_t>(index)]
               : nullptr;
}

void PageControl::SetActivePage(QWidget* page) {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i] == page) {
            tabBar_->setCurrentIndex(static_cast<int>(i));
            return;
        }
    }
}

void PageControl::ShowPage(int index) {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (static_cast<int>(i) != index) {
            pages_[i]->hide();
        }
    }
    if (index >= 0 && index < static_cast<int>(pages_.size())) {
        pages_[static_cast<std::size_t>(index)]->show();
        pages_[static_cast<std::size_t>(index)]->raise();
    }
}

void PageControl::FitTabs() {
    auto* style = static_cast<TabSpaceStyle*>(tabStyle_);
    const int natural =
        style->baseStyle()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabBar_);
    // The captions in the control's own font.
    double captions = 0;
    const QFontMetricsF metrics(font());
    for (int i = 0; i < tabBar_->count(); ++i)
        captions += metrics.horizontalAdvance(tabBar_->tabText(i));
    const int count = std::max(1, tabBar_->count());
    const double room = width() - captions;
    const int space =
        room >= natural * count ? -1 : std::max(MinTabSpace, static_cast<int>(room / count));
    // Captions that do not fit even so take a smaller font, down to MinTabFontShare of it.
    const double share =
        room >= MinTabSpace * count || captions <= 0
            ? 1
            : std::max(MinTabFontShare, (width() - MinTabSpace * count - 1.0) / captions);
    if (space == lastTabSpace_ && share == lastFontShare_)
        return;
    lastTabSpace_ = space;
    lastFontShare_ = share;
    style->SetSpace(space);
    QFont tabFont = font();
    if (share < 1 && tabFont.pointSizeF() > 0)
        tabFont.setPointSizeF(tabFont.pointSizeF() * share);
    else if (share < 1 && tabFont.pixelSize() > 0)
        tabFont.setPixelSize(std::max(1, static_cast<int>(tabFont.pixelSize() * share)));
    tabBar_->setFont(tabFont);
    // The tabs are measured again with the new space.
    for (int i = 0; i < tabBar_->count(); ++i)
        tabBar_->setTabText(i, tabBar_->tabText(i));
}

QRect PageControl::PageRect() const {
    return QRect(FrameWidth, TabHeight + FrameWidth, width() - 2 * FrameWidth,
                 height() - TabHeight - 2 * FrameWidth);
}

void PageControl::LayoutPages() {
    tabBar_->setGeometry(0, 0, width(), TabHeight);
    FitTabs();
    const QRect area = PageRect();
    for (QWidget* page : pages_) {
        page->setGeometry(area);
    }
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (lastSizes_[i] != area.size()) {
            lastSizes_[i] = area.size();
            if (OnPageResize) {
                OnPageResize(pages_[i]);
            }
        }
    }
}

void PageControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutPages();
}

void PageControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, TabHeight, width(), height() - TabHeight);
    frame.lineWidth = 2;
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = tabBar_->sizeHint();
    frame.tabBarRect = tabBar_->geometry();
    frame.selectedTabRect = tabBar_->tabRect(tabBar_->currentIndex());
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

}  // namespace metopt::platform
