// The tab set (a row of tabs drawn here, hanging from its top edge, as under a page) and
// the tabbed notebook (a page control whose pages are named by a list of strings).
//
// Types: TTabChangeEvent, TTabSet, TTabPage, TTabbedNotebook.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "Controls.h"

// NewTab: the tab about to be chosen; AllowChange: set it to false to keep the current one.
using TTabChangeEvent = std::function<void(TObject* Sender, int NewTab, bool& AllowChange)>;

// Where the tabs of a tab set lie: from FirstIndex on, from startMargin, each its text's
// width plus 9 pixels, each that ends no further than room (the width less the end
// margin) right after the one before it.  A tab that does not fit is left out (an empty
// rectangle) and a later, shorter one may take its place, as a skin lays them out, so
// that clicks land where the tabs are drawn.  textWidths: one per tab.
std::vector<RECT> TabSetLayout(const std::vector<int>& textWidths, int firstIndex, int startMargin, int room, int height);

class TTabSet : public TCustomControl {
    CLASS_INFO(TTabSet)
public:
    explicit TTabSet(TComponent* owner);
    ~TTabSet() override;

    TStrings& Tabs() { return *tabs_; }
    int TabIndex() const { return tabIndex_; }
    // Chooses a tab (-1 none) after OnChange agreed; an index out of range chooses none.
    void SetTabIndex(int index);
    int FirstIndex() const { return firstIndex_; }
    void SetFirstIndex(int index);
    int StartMargin() const { return startMargin_; }
    void SetStartMargin(int v);
    int EndMargin() const { return endMargin_; }
    void SetEndMargin(int v);
    // The tab under a client point, or -1.
    int ItemAtPos(POINT p);
    // The tabs' rectangles in client coordinates, as painted.
    std::vector<RECT> TabRects();

    TTabChangeEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    virtual bool CanChange(int newTab);

    std::unique_ptr<TStringList> tabs_;
    int tabIndex_ = -1;
    int firstIndex_ = 0;
    int startMargin_ = 5;
    int endMargin_ = 5;
};

// A page of a tabbed notebook.
class TTabPage : public TTabSheet {
    CLASS_INFO(TTabPage)
public:
    explicit TTabPage(TComponent* owner) : TTabSheet(owner) {}
};

// A page control whose pages are listed by name in Pages: adding a name adds a page,
// deleting one frees its page.  PageIndex and ActivePage (by name) choose the page shown.
class TTabbedNotebook : public TPageControl {
    CLASS_INFO(TTabbedNotebook)
public:
    explicit TTabbedNotebook(TComponent* owner);
    ~TTabbedNotebook() override;

    TStrings& Pages() { return *pageNames_; }
    using TPageControl::Pages;  // the sheet at an index
    int PageIndex() const { return ActivePageIndex(); }
    void SetPageIndex(int i) { SetActivePageIndex(i); }
    std::string ActivePageName() const { return ActivePage() ? ActivePage()->Caption() : std::string(); }
    void SetActivePageName(const std::string& name);

protected:
    friend class TNotebookPages;
    void movePage(TTabSheet* page, int index);
    std::unique_ptr<TStrings> pageNames_;
};

// Known gaps: the tab set has no scroll arrows (FirstIndex is set from code); a tabbed
// notebook's pages are its TTabPage children, and a stored Pages list adds pages beside
// the stored TTabPage objects.
