#pragma once
// A page control: a row of tabs over a framed area in which one page at a time is shown. Every
// page, shown or not, is given the area's size at once, so a page's size is known before it was
// ever shown (also in a window that is never shown).
#include <QWidget>
#include <functional>
#include <vector>

class QStyle;
class QTabBar;

namespace metopt::platform {

class PageControl : public QWidget {
  public:
    explicit PageControl(QWidget* parent);

    // Adds a page with its tab caption; the first page added is the active one.
    QWidget* AddPage(const QString& caption);

    QWidget* ActivePage() const;
    void SetActivePage(QWidget* page);
    QTabBar* TabBar() const { return tabBar_; }

    // The rectangle the pages fill, inside the frame below the tabs.
    QRect PageRect() const;
    // Places the tabs and sizes every page to PageRect(); then runs OnPageResize for each page
    // whose size changed.
    void LayoutPages();

    std::function<void(QWidget* page)> OnPageResize;

    static constexpr int TabHeight = 20;
    static constexpr int FrameWidth = 4;  // the pages' inset from the outer edge

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void ShowPage(int index);
    // Gives the tabs less space around their captions when they would not fit the width, and
    // then a smaller font.
    void FitTabs();

    QTabBar* tabBar_;
    QStyle* tabStyle_;
    int lastTabSpace_ = -1;
    double lastFontShare_ = 1;
    std::vector<QWidget*> pages_;
    std::vector<QSize> lastSizes_;
};

}  // namespace metopt::platform
