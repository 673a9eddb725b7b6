// Common controls on the platform's classes.  Each keeps its state (range, position,
// panels, tabs, columns, items, texts) while there is no window and gives it to the window
// when one is made.  The rich edit is in RichEdit.h.
//
// Types: TProgressBarOrientation, TProgressBar, TStatusPanelStyle, TStatusPanelBevel,
//        TStatusPanel, TStatusPanels, TCustomStatusBar, TStatusBar, TDrawPanelEvent,
//        TTrackBarOrientation, TTickStyle, TTickMark, TTrackBar (ComCtrlsRange.cpp),
//        TUDOrientation, TUDBtnType, TUpDown (ComCtrlsRange.cpp),
//        TTabPosition, TTabStyle, TTabChangingEvent, TCustomTabControl, TTabControl,
//        TTabSheet, TPageControl (ComCtrlsTabs.cpp),
//        TViewStyle, TListColumn, TListColumns, TListItem, TListItems, TListView,
//        THeaderSection, THeaderSections, THeaderControl (ComCtrlsList.cpp),
//        TDateTime, TDateTimeKind, TDTDateFormat, TDateTimePicker (ComCtrlsDate.cpp).
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Controls.h"
#include "StdCtrls.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };
extern const TEnumNames ProgressBarOrientationNames;

class TProgressBar : public TWinControl {
    CLASS_INFO(TProgressBar)
public:
    explicit TProgressBar(TComponent* owner);

    int Min() const { return min_; }
    void SetMin(int v) { SetRange(v, max_); }
    int Max() const { return max_; }
    void SetMax(int v) { SetRange(min_, v); }
    void SetRange(int min, int max);
    // Read from the window while it has one (StepIt and StepBy move it there).
    int Position();
    void SetPosition(int v);
    int Step() const { return step_; }
    void SetStep(int v);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool v);
    TProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation o);
    void StepIt();
    void StepBy(int delta);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;

private:
    int clamp(int v) const;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
    bool smooth_ = false;
    TProgressBarOrientation orientation_ = pbHorizontal;
};

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
extern const TEnumNames StatusPanelStyleNames;
extern const TEnumNames StatusPanelBevelNames;

class TStatusPanels;
class TCustomStatusBar;

// One part of a status bar; stored as an item of the bar's Panels.
class TStatusPanel : public TCollectionItem {
    CLASS_INFO(TStatusPanel)
public:
    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

    const std::string& Text() const { return text_; }
    void SetText(const std::string& t);
    int Width() const { return width_; }
    void SetWidth(int w);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle s);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel b);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    void Assign(const TPersistent& source) override;

private:
    void changed(bool allPanels);
    std::string text_;
    int width_ = 50;
    TStatusPanelStyle style_ = psText;
    TStatusPanelBevel bevel_ = pbLowered;
    TAlignment alignment_ = taLeftJustify;
};

class TStatusPanels : public TCollection {
    CLASS_INFO(TStatusPanels)
public:
    explicit TStatusPanels(TCustomStatusBar& bar);
    TStatusPanel* Items(int i) const { return static_cast<TStatusPanel*>(TCollection::Items(i)); }
    TStatusPanel* operator[](int i) const { return Items(i); }
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TCustomStatusBar& StatusBar() const { return bar_; }

private:
    friend class TStatusPanel;
    void panelChanged(TStatusPanel* panel, bool allPanels) { Update(allPanels ? nullptr : panel); }
    TCustomStatusBar& bar_;
};

using TDrawPanelEvent = std::function<void(TCustomStatusBar* StatusBar, TStatusPanel* Panel, const RECT& Rect)>;

class TCustomStatusBar : public TWinControl {
    CLASS_INFO(TCustomStatusBar)
public:
    explicit TCustomStatusBar(TComponent* owner);
    ~TCustomStatusBar() override;

    TStatusPanels& Panels() { return *panels_; }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& t);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool v);
    TCanvas& Canvas() { return canvas_; }

    TDrawPanelEvent OnDrawPanel;

    void WndProc(TMessage& message) override;

protected:
    friend class TStatusPanels;
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    virtual void DrawPanel(TStatusPanel* panel, const RECT& rect);
    // Part edges from the panel widths (the last part runs to the end), then every text.
    void updatePanels();
    void updatePanelText(int index);
    void onDrawItem(const DRAWITEMSTRUCT& item);

    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
    bool sizeGrip_ = true;
    TCanvas canvas_;
};

class TStatusBar : public TCustomStatusBar {
    CLASS_INFO(TStatusBar)
public:
    explicit TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {}
};

// ---- track bar and up-down ----------------------------------------------------------

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
extern const TEnumNames TrackBarOrientationNames;
extern const TEnumNames TickStyleNames;
extern const TEnumNames TickMarkNames;

// A track bar.  The thumb moved by the user or from code runs OnChange once.  Custom-draw
// notices reach the control reflected as CN_NOTIFY, where a replaced WindowProc sees them.
class TTrackBar : public TWinControl {
    CLASS_INFO(TTrackBar)
public:
    explicit TTrackBar(TComponent* owner);

    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation o);
    int Min() const { return min_; }
    void SetMin(int v) { SetRange(v, max_); }
    int Max() const { return max_; }
    void SetMax(int v) { SetRange(min_, v); }
    void SetRange(int min, int max);
    int Position();
    void SetPosition(int v);
    int Frequency() const { return frequency_; }
    void SetFrequency(int v);
    TTickStyle TickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle t);
    TTickMark TickMarks() const { return tickMarks_; }
    void SetTickMarks(TTickMark t);
    bool SliderVisible() const { return sliderVisible_; }
    void SetSliderVisible(bool v);
    int ThumbLength() const { return thumbLength_; }
    void SetThumbLength(int v);

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;
    virtual void Changed() { if (OnChange) OnChange(this); }
    void positionFromWindow();

    TTrackBarOrientation orientation_ = trHorizontal;
    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    int frequency_ = 1;
    TTickStyle tickStyle_ = tsAuto;
    TTickMark tickMarks_ = tmBottomRight;
    bool sliderVisible_ = true;
    int thumbLength_ = 20;
};

enum TUDOrientation { udHorizontal, udVertical };
extern const TEnumNames UDOrientationNames;
// Which arrow was pressed: btNext raises the position, btPrev lowers it.
enum class TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// An up-down (spin) control.  A press on an arrow asks OnChanging first (which may refuse
// the step), then moves the position and runs OnClick once.  With an associated control
// the platform shows the position as that control's text.
class TUpDown : public TWinControl {
    CLASS_INFO(TUpDown)
public:
    explicit TUpDown(TComponent* owner);

    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* c);
    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position();
    void SetPosition(int v);
    int Increment() const { return increment_; }
    void SetIncrement(int v);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation o);
    bool Wrap() const { return wrap_; }
    void SetWrap(bool v);

    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;
    void Notification(TComponent* component, TOperation operation) override;
    void updateRange();

    TWinControl* associate_ = nullptr;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int increment_ = 1;
    TUDOrientation orientation_ = udVertical;
    bool wrap_ = false;
    int lastDelta_ = 0;  // the step the last UDN_DELTAPOS allowed
};

// ---- tab control, page control, tab sheets -------------------------------------------

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
extern const TEnumNames TabPositionNames;
extern const TEnumNames TabStyleNames;
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// The platform's tab control.  The tab texts (Tabs) and the chosen tab (TabIndex) are kept
// while there is no window.  A click on another tab asks OnChanging (which may refuse),
// then runs OnChange once.  Children are laid out in the area below the tabs.
class TCustomTabControl : public TWinControl {
    CLASS_INFO(TCustomTabControl)
public:
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition p);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool v);
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle s);
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v);
    // The area the tabs leave, in client coordinates.
    RECT DisplayRect();

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;
    void AlignControls(TControl* control, RECT& rect) override;
    virtual bool CanChange();
    virtual void Change() { if (OnChange) OnChange(this); }
    // The tab texts the window shows, and the chosen one (-1 none).
    TStrings& tabs() { return *tabs_; }
    int tabIndex();
    void setTabIndex(int index);
    void updateTabs();

    std::unique_ptr<TStringList> tabs_;
    int tabIndex_ = -1;
    TTabPosition tabPosition_ = tpTop;
    bool multiLine_ = false;
    TTabStyle style_ = tsTabs;
    bool ownerDraw_ = false;
};

class TTabControl : public TCustomTabControl {
    CLASS_INFO(TTabControl)
public:
    explicit TTabControl(TComponent* owner) : TCustomTabControl(owner) {}
    TStrings& Tabs() { return tabs(); }
    int TabIndex() { return tabIndex(); }
    void SetTabIndex(int index) { setTabIndex(index); }
};

class TPageControl;

// One page of a page control; its Caption is its tab's text.  Placing it on a page control
// (Parent or PageControl) adds its tab.
class TTabSheet : public TCustomControl {
    CLASS_INFO(TTabSheet)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* p);
    int PageIndex() const;
    void SetParent(TWinControl* parent) override;
    void SetText(const std::string& text) override;

protected:
    friend class TPageControl;
    void Paint() override;
    TPageControl* pageControl_ = nullptr;
};

// A tab control whose tabs are its pages (TTabSheet): choosing a tab shows its page and
// hides the others.
class TPageControl : public TCustomTabControl {
    CLASS_INFO(TPageControl)
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int i) const { return pages_.at(static_cast<size_t>(i)); }
    TTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int i);

protected:
    friend class TTabSheet;
    void Change() override;
    void Loaded() override;
    void AlignControls(TControl* control, RECT& rect) override;
    virtual void insertPage(TTabSheet* page);
    virtual void removePage(TTabSheet* page);
    void pageCaptionChanged(TTabSheet* page);

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};

// ---- list view and header control ---------------------------------------------------

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
extern const TEnumNames ViewStyleNames;

class TListView;

class TListColumn : public TCollectionItem {
    CLASS_INFO(TListColumn)
public:
    explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c) { if (c != caption_) { caption_ = c; Changed(); } }
    int Width() const { return width_; }
    void SetWidth(int w) { if (w != width_) { width_ = w; Changed(); } }

private:
    std::string caption_;
    int width_ = 50;
};

class TListColumns : public TCollection {
    CLASS_INFO(TListColumns)
public:
    TListColumns();
    TListColumn* Items(int i) const { return static_cast<TListColumn*>(TCollection::Items(i)); }
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
};

class TListItems;

// One line of a list view: its caption and the texts of its further columns.
class TListItem : public TPersistent {
    CLASS_INFO(TListItem)
public:
    explicit TListItem(TListItems& owner);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    TStrings& SubItems() { return *subItems_; }
    int Index() const;

private:
    TListItems& owner_;
    std::string caption_;
    std::unique_ptr<TStringList> subItems_;
};

// The lines of a list view, owned by it and shown by its window while it has one.
class TListItems : public TPersistent {
    CLASS_INFO(TListItems)
public:
    explicit TListItems(TListView& view) : view_(view) {}
    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int i) const { return items_.at(static_cast<size_t>(i)).get(); }
    TListItem* operator[](int i) const { return Item(i); }
    TListItem* Add();
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;

private:
    friend class TListItem;
    void itemChanged(const TListItem* item);
    TListView& view_;
    std::vector<std::unique_ptr<TListItem>> items_;
};

// The platform's list view: columns and lines of text, shown in one of four views.
class TListView : public TBorderedControl<TWinControl> {
    CLASS_INFO(TListView)
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;

    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle v);
    TListColumns& Columns() { return *columns_; }
    TListItems& Items() { return *items_; }
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool v);

protected:
    friend class TListItems;
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void updateColumns();
    void insertItem(int index);
    void updateItem(int index);

    TViewStyle viewStyle_ = vsIcon;
    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TListItems> items_;
    bool showColumnHeaders_ = true;
};

class THeaderSection : public TCollectionItem {
    CLASS_INFO(THeaderSection)
public:
    explicit THeaderSection(TCollection* collection) : TCollectionItem(collection) {}
    const std::string& Text() const { return text_; }
    void SetText(const std::string& t) { if (t != text_) { text_ = t; Changed(); } }
    int Width() const { return width_; }
    void SetWidth(int w) { if (w != width_) { width_ = w; Changed(); } }

private:
    std::string text_;
    int width_ = 50;
};

class THeaderSections : public TCollection {
    CLASS_INFO(THeaderSections)
public:
    THeaderSections();
    THeaderSection* Items(int i) const { return static_cast<THeaderSection*>(TCollection::Items(i)); }
    THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
};

// The platform's header control with its sections.
class THeaderControl : public TWinControl {
    CLASS_INFO(THeaderControl)
public:
    explicit THeaderControl(TComponent* owner);
    ~THeaderControl() override;
    THeaderSections& Sections() { return *sections_; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void updateSections();
    std::unique_ptr<THeaderSections> sections_;
};

// ---- date-time picker ------------------------------------------------------------------

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;
enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };
extern const TEnumNames DateTimeKindNames;
extern const TEnumNames DTDateFormatNames;

// The platform's date-time picker.  A change made by the user runs OnChange once.
class TDateTimePicker : public TWinControl {
    CLASS_INFO(TDateTimePicker)
public:
    explicit TDateTimePicker(TComponent* owner);

    TDateTime DateTime();
    void SetDateTime(TDateTime v);
    // The whole days of DateTime, and its time of day; setting one keeps the other.
    TDateTime Date();
    void SetDate(TDateTime v);
    TDateTime Time();
    void SetTime(TDateTime v);
    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind k);
    TDTDateFormat DateFormat() const { return dateFormat_; }
    void SetDateFormat(TDTDateFormat f);

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;

    TDateTime dateTime_ = 0;
    TDateTimeKind kind_ = dtkDate;
    TDTDateFormat dateFormat_ = dfShort;
};

// Conversions between TDateTime and the platform's SYSTEMTIME, to the second.
bool DateTimeToSystemTime(TDateTime dt, SYSTEMTIME& st);
TDateTime SystemTimeToDateTime(const SYSTEMTIME& st);

// Known gaps: the picker's Date and Time are not readable by name (the property system has
// no floating-point kind); list-view lines are not kept in stored forms; no image lists
// for tabs, list views or headers.
