// Standard controls on the system's edit, list box and button classes.  Each keeps what
// its window holds (text, lines, selection, list items, chosen line) in fields while there
// is no window, pushes it into the window when one is made and takes it back before the
// window goes (RecreateWnd), so hidden controls work without ever making a window.
// The rich edit builds on TCustomMemo and lives in RichEdit.h; bit buttons in Buttons.h.
//
// Types: TAlignment, TScrollStyle, TEditCharCase, TModalResult,
//        TCustomEdit, TEdit, TCustomMemo, TMemo, TCustomListBox, TListBox, TButton,
//        TCheckBoxState, TCustomCheckBox, TCheckBox, TRadioButton, TCustomGroupBox, TGroupBox,
//        TComboBoxStyle, TCustomComboBox, TComboBox, TScrollBarKind, TScrollCode, TScrollEvent,
//        TScrollBar.
// Check boxes, radio buttons and group boxes are in StdCtrlsChecks.cpp, combo boxes and
// scroll bars in StdCtrlsCombo.cpp.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ControlBorder.h"
#include "Controls.h"
#include "Forms.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
extern const TEnumNames AlignmentNames;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
extern const TEnumNames ScrollStyleNames;

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
extern const TEnumNames EditCharCaseNames;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;
extern const TEnumNames ModalResultIdents;

// Line breaks of any kind (CR, LF, CR LF) become CR LF.
std::string AdjustLineBreaks(const std::string& text);

// An edit control: text, selection, modified flag, clipboard and undo.
class TCustomEdit : public TBorderedControl<TWinControl> {
    CLASS_INFO(TCustomEdit)
public:
    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase c);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool v) { autoSelect_ = v; }

    virtual bool Modified();
    virtual void SetModified(bool v);
    // Selection in the control's positions; kept while there is no window.
    virtual int SelStart();
    virtual void SetSelStart(int v);
    virtual int SelLength();
    virtual void SetSelLength(int v);
    virtual std::string SelText();
    // Replaces the selection (or inserts at the caret); the change can be undone.
    virtual void SetSelText(const std::string& text);
    void SelectAll();
    void ClearSelection() { SetSelText(std::string()); }
    void Clear() { SetText(std::string()); }
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    bool CanUndo();
    void ClearUndo();

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;
    virtual void Change() { if (OnChange) OnChange(this); }
    // Selection of the window in the control's positions (EM_GETSEL).
    virtual void getSelection(int& start, int& end);
    virtual void setSelection(int start, int end);

    bool readOnly_ = false;
    int maxLength_ = 0;
    bool hideSelection_ = true;
    TEditCharCase charCase_ = ecNormal;
    bool autoSelect_ = true;
    bool modified_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
};

// A one-line edit.
class TEdit : public TCustomEdit {
    CLASS_INFO(TEdit)
public:
    explicit TEdit(TComponent* owner);
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char c);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    char passwordChar_ = 0;
};

// A multi-line edit.  Lines are the text's lines as the line breaks in it make them (a
// line that word wrap shows on several rows is still one line), with or without a window.
class TCustomMemo : public TCustomEdit {
    CLASS_INFO(TCustomMemo)
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    TStrings& Lines() { return *lines_; }
    void SetLines(const TStrings& lines) { lines_->Assign(lines); }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v) { wantReturns_ = v; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool v) { wantTabs_ = v; }

protected:
    void CreateParams(TCreateParams& params) override;
    std::unique_ptr<TStrings> lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    TAlignment alignment_ = taLeftJustify;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
    CLASS_INFO(TMemo)
public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

// A list of text lines, one of which may be chosen.  OnClick follows a change of the
// chosen line by the user, OnDblClick a double-click on a line.
class TCustomListBox : public TBorderedControl<TWinControl> {
    CLASS_INFO(TCustomListBox)
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStrings& Items() { return *items_; }
    void SetItems(const TStrings& items) { items_->Assign(items); }
    int Count() { return items_->Count(); }
    // The chosen line, -1 for none.  Kept while there is no window.
    int ItemIndex();
    void SetItemIndex(int index);
    int TopIndex();
    void SetTopIndex(int index);
    void Clear() { items_->Clear(); }
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    bool IntegralHeight() const { return integralHeight_; }
    void SetIntegralHeight(bool v);
    int ItemHeight();
    void SetItemHeight(int h);
    // The line under a point of the client area, or -1 (existing: only lines that exist;
    // otherwise the line a click there would reach, which may be Count).
    int ItemAtPos(POINT p, bool existing);
    RECT ItemRect(int index);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;

    std::unique_ptr<TStrings> items_;
    std::unique_ptr<TStringList> saved_;  // the lines while there is no window
    int itemIndex_ = -1;
    int topIndex_ = 0;
    bool sorted_ = false;
    bool integralHeight_ = false;
    int itemHeight_ = 0;  // 0: as the font gives
};

class TListBox : public TCustomListBox {
    CLASS_INFO(TListBox)
public:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

// A push button.  A click (mouse, keyboard or BM_CLICK) runs Click: the form's
// ModalResult (when the button has one and the form has that property) is set, then
// OnClick runs.
class TButton : public TWinControl {
    CLASS_INFO(TButton)
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult r) { modalResult_ = r; }

    void Click() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    // Shows the button as the default one of its form or not.
    virtual void SetButtonStyle(bool asDefault);
    TCustomForm* parentForm() const;

    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
extern const TEnumNames CheckBoxStateNames;

// A check box on the system's button class.  The window never toggles itself: a click
// moves State on (unchecked, checked, grayed when AllowGrayed) and OnClick runs once.
// Changing Checked or State from code runs OnClick too, as a click does.
class TCustomCheckBox : public TWinControl {
    CLASS_INFO(TCustomCheckBox)
public:
    explicit TCustomCheckBox(TComponent* owner);

    // Where the caption stands: taRightJustify (default) puts it right of the box.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v) { allowGrayed_ = v; }
    TCheckBoxState State();
    void SetState(TCheckBoxState s);
    bool Checked() { return State() == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;
    virtual void Toggle();

    TAlignment alignment_ = taRightJustify;
    bool allowGrayed_ = false;
    TCheckBoxState state_ = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
    CLASS_INFO(TCheckBox)
public:
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

// A radio button on the system's button class.  Checking one (by a click or from code)
// unchecks the other radio buttons of the same parent; OnClick runs when it becomes
// checked, not when it is unchecked.
class TRadioButton : public TWinControl {
    CLASS_INFO(TRadioButton)
public:
    explicit TRadioButton(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool Checked();
    void SetChecked(bool v);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;

    TAlignment alignment_ = taRightJustify;
    bool checked_ = false;
};

// A group box: the system's framed caption, holding child controls.
class TCustomGroupBox : public TWinControl {
    CLASS_INFO(TCustomGroupBox)
public:
    explicit TCustomGroupBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void AlignControls(TControl* control, RECT& rect) override;
};

class TGroupBox : public TCustomGroupBox {
    CLASS_INFO(TGroupBox)
public:
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
extern const TEnumNames ComboBoxStyleNames;

// A combo box: an edit or a static face with a list.  Items and ItemIndex are kept while
// there is no window, as the list box keeps them.  OnChange runs once when the user types
// into the edit or picks another item (CBN_EDITCHANGE, CBN_SELCHANGE), and when Text or
// ItemIndex is set from code it does not run.
class TCustomComboBox : public TWinControl {
    CLASS_INFO(TCustomComboBox)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s);
    TStrings& Items() { return *items_; }
    void SetItems(const TStrings& items) { items_->Assign(items); }
    int ItemIndex();
    void SetItemIndex(int index);
    // Lines the dropped list shows without scrolling.
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int n);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    // A drop-down list's text is its chosen item: setting a text chooses the item that
    // reads so (or none).
    void SetText(const std::string& text) override;
    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;
    virtual void Change() { if (OnChange) OnChange(this); }
    // The platform takes the height of the dropped list from the size the window is
    // given (and keeps the window itself at the height of its face): every size given to
    // the window includes the list.
    int droppedHeight();
    void applyDroppedHeight();

    std::unique_ptr<TStrings> items_;
    std::unique_ptr<TStringList> saved_;
    TComboBoxStyle style_ = csDropDown;
    int itemIndex_ = -1;
    int dropDownCount_ = 8;
    bool sorted_ = false;
};

class TComboBox : public TCustomComboBox {
    CLASS_INFO(TComboBox)
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

enum TScrollBarKind { sbHorizontal, sbVertical };
extern const TEnumNames ScrollBarKindNames;
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
extern const TEnumNames ScrollCodeNames;
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// A scroll-bar control.  Its scroll notices come back reflected (CN_HSCROLL, CN_VSCROLL):
// the bar moves by SmallChange or LargeChange or to the thumb, OnScroll may change the new
// position, and OnChange runs when Position changed (from code too).
class TScrollBar : public TWinControl {
    CLASS_INFO(TScrollBar)
public:
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind k);
    int Min() const { return min_; }
    void SetMin(int v) { SetParams(position_, v, max_); }
    int Max() const { return max_; }
    void SetMax(int v) { SetParams(position_, min_, v); }
    int Position() const { return position_; }
    void SetPosition(int v) { SetParams(v, min_, max_); }
    // Range and position at once; the position is kept within the range.
    void SetParams(int position, int min, int max);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int v);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int v) { smallChange_ = v; }
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int v) { largeChange_ = v; }

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    virtual void Change() { if (OnChange) OnChange(this); }
    virtual void Scroll(TScrollCode code, int& pos) { if (OnScroll) OnScroll(this, code, pos); }
    void onScroll(int code);
    void updateScrollInfo();

    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int pageSize_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
};

// Known gaps: no CM_DIALOGKEY handling for Default and Cancel (the forms do not send it
// yet); no owner-drawn list box styles; no multiple selection.
