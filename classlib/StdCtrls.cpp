#include "StdCtrls.h"


#include <algorithm>
#include <optional>
#include <vector>

#include "StdCtrls_impl.h"
#include "Texts.h"

const TEnumNames AlignmentNames{{{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}}};
const TEnumNames ScrollStyleNames{{{"ssNone", ssNone}, {"ssHorizontal", ssHorizontal}, {"ssVertical", ssVertical}, {"ssBoth", ssBoth}}};
const TEnumNames ControlBorderStyleNames{{{"bsNone", bsNone}, {"bsSingle", bsSingle}}};
const TEnumNames EditCharCaseNames{{{"ecNormal", ecNormal}, {"ecUpperCase", ecUpperCase}, {"ecLowerCase", ecLowerCase}}};
const TEnumNames ModalResultIdents{{{"mrNone", mrNone}, {"mrOk", mrOk}, {"mrCancel", mrCancel}, {"mrAbort", mrAbort},
                                    {"mrRetry", mrRetry}, {"mrIgnore", mrIgnore}, {"mrYes", mrYes}, {"mrNo", mrNo},
                                    {"mrAll", mrAll}, {"mrNoToAll", mrNoToAll}, {"mrYesToAll", mrYesToAll}}};

std::string AdjustLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

std::vector<std::string> splitLines(const std::string& text) {
    TStringList list;
    list.SetText(text);
    return list.ToVector();
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out += "\r\n";
        out += lines[i];
    }
    return out;
}

void checkIndex(int index, size_t count) {
    if (index < 0 || static_cast<size_t>(index) >= count)
        throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

// ---- TCustomEdit -------------------------------------------------------------------

const TClassInfo& TCustomEdit::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCustomEdit>("TCustomEdit", &TWinControl::StaticClassInfo(), [](TClassBuilder<TCustomEdit>& b) {
        DescribeBorder(b);
        b.Bool("ReadOnly", [](TCustomEdit& e) { return e.ReadOnly(); }, [](TCustomEdit& e, bool v) { e.SetReadOnly(v); });
        b.Int("MaxLength", [](TCustomEdit& e) -> int64_t { return e.MaxLength(); }, [](TCustomEdit& e, int64_t v) { e.SetMaxLength(static_cast<int>(v)); });
        b.Bool("HideSelection", [](TCustomEdit& e) { return e.HideSelection(); }, [](TCustomEdit& e, bool v) { e.SetHideSelection(v); });
        b.Enum("CharCase", EditCharCaseNames, [](TCustomEdit& e) -> int64_t { return e.CharCase(); }, [](TCustomEdit& e, int64_t v) { e.SetCharCase(static_cast<TEditCharCase>(v)); });
        b.Bool("AutoSelect", [](TCustomEdit& e) { return e.AutoSelect(); }, [](TCustomEdit& e, bool v) { e.SetAutoSelect(v); });
        b.Event("OnChange", &TCustomEdit::OnChange);
    });
    return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TBorderedControl(owner, bsSingle) {
    width_ = 121;
    height_ = 21;
    tabStop_ = true;
}

TCustomEdit::~TCustomEdit() {
    BeginDestruction();
    if (handle_) DestroyHandle();
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "EDIT");
    p.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    applyBorder(p);
    if (readOnly_) p.Style |= ES_READONLY;
    if (!hideSelection_) p.Style |= ES_NOHIDESEL;
    if (charCase_ == ecUpperCase) p.Style |= ES_UPPERCASE;
    if (charCase_ == ecLowerCase) p.Style |= ES_LOWERCASE;
}

void TCustomEdit::CreateHandleContents() {
    // 0 lifts the limit the platform puts on typed text.
    SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageA(handle_, EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
    setSelection(selStart_, selStart_ + selLength_);
}

void TCustomEdit::SaveHandleContents() {
    if (beingFreed()) return;
    text_ = Text();
    modified_ = Modified();
    int s = 0, e = 0;
    getSelection(s, e);
    selStart_ = s;
    selLength_ = e - s;
}

void TCustomEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
        Change();
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomEdit::SetHideSelection(bool v) { if (v != hideSelection_) { hideSelection_ = v; RecreateWnd(); } }
void TCustomEdit::SetCharCase(TEditCharCase c) { if (c != charCase_) { charCase_ = c; RecreateWnd(); } }

void TCustomEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (handle_) SendMessageA(handle_, EM_SETREADONLY, v ? TRUE : FALSE, 0);
}

void TCustomEdit::SetMaxLength(int v) {
    maxLength_ = std::max(0, v);
    if (handle_) SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

bool TCustomEdit::Modified() {
    if (handle_) return SendMessageA(handle_, EM_GETMODIFY, 0, 0) != 0;
    return modified_;
}

void TCustomEdit::SetModified(bool v) {
    modified_ = v;
    if (handle_) SendMessageA(handle_, EM_SETMODIFY, v ? TRUE : FALSE, 0);
}

void TCustomEdit::getSelection(int& start, int& end) {
    DWORD s = 0, e = 0;
    SendMessageA(handle_, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

void TCustomEdit::setSelection(int start, int end) {
    SendMessageA(handle_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    SendMessageA(handle_, EM_SCROLLCARET, 0, 0);
}

// Positions count characters, as the controls count them; the kept text is 8-bit, so the
// kept selection is applied to its UTF-16 form.
int TCustomEdit::SelStart() {
    if (!handle_) return selStart_;
    int s = 0, e = 0;
    getSelection(s, e);
    return s;
}

void TCustomEdit::SetSelStart(int v) {
    if (handle_) { setSelection(v, v); return; }
    selStart_ = std::max(0, v);
    selLength_ = 0;
}

int TCustomEdit::SelLength() {
    if (!handle_) return selLength_;
    int s = 0, e = 0;
    getSelection(s, e);
    return e - s;
}

void TCustomEdit::SetSelLength(int v) {
    if (handle_) {
        int s = 0, e = 0;
        getSelection(s, e);
        setSelection(s, s + v);
        return;
    }
    selLength_ = std::max(0, v);
}

std::string TCustomEdit::SelText() {
    std::wstring all = texts::AnsiToWide(Text());
    int s = SelStart(), n = SelLength();
    if (s < 0 || static_cast<size_t>(s) >= all.size() || n <= 0) return {};
    return texts::WideToAnsi(all.substr(static_cast<size_t>(s), static_cast<size_t>(n)));
}

void TCustomEdit::SetSelText(const std::string& text) {
    if (handle_) {
        SendMessageA(handle_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    std::wstring all = texts::AnsiToWide(text_);
    size_t s = std::min(static_cast<size_t>(std::max(0, selStart_)), all.size());
    size_t n = std::min(static_cast<size_t>(std::max(0, selLength_)), all.size() - s);
    std::wstring put = texts::AnsiToWide(text);
    all.replace(s, n, put);
    text_ = texts::WideToAnsi(all);
    selStart_ = static_cast<int>(s + put.size());
    selLength_ = 0;
    modified_ = true;
    Perform(CM_TEXTCHANGED, 0, 0);
    Change();
}

void TCustomEdit::SelectAll() {
    if (handle_) { setSelection(0, -1); return; }
    selStart_ = 0;
    selLength_ = static_cast<int>(texts::AnsiToWide(text_).size());
}

void TCustomEdit::CopyToClipboard() { if (handle_) SendMessageA(handle_, WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { if (handle_) SendMessageA(handle_, WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { if (Handle()) SendMessageA(handle_, WM_PASTE, 0, 0); }
void TCustomEdit::Undo() { if (handle_) SendMessageA(handle_, EM_UNDO, 0, 0); }
bool TCustomEdit::CanUndo() { return handle_ && SendMessageA(handle_, EM_CANUNDO, 0, 0) != 0; }
void TCustomEdit::ClearUndo() { if (handle_) SendMessageA(handle_, EM_EMPTYUNDOBUFFER, 0, 0); }

// ---- TEdit -------------------------------------------------------------------------

const TClassInfo& TEdit::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TEdit>("TEdit", &TCustomEdit::StaticClassInfo(), [](TClassBuilder<TEdit>& b) {
        b.Creatable();
        b.Str("PasswordChar", [](TEdit& e) { return e.PasswordChar() ? std::string(1, e.PasswordChar()) : std::string(); },
              [](TEdit& e, const std::string& v) { e.SetPasswordChar(v.empty() ? 0 : v[0]); });
    });
    return info;
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}

void TEdit::SetPasswordChar(char c) {
    passwordChar_ = c;
    if (handle_) {
        SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
        Invalidate();
    }
}

void TEdit::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    if (passwordChar_) p.Style |= ES_PASSWORD;
}

void TEdit::CreateHandleContents() {
    TCustomEdit::CreateHandleContents();
    if (passwordChar_) SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
}

// ---- TCustomMemo -------------------------------------------------------------------

// The lines of a memo, read from and written to the memo's whole text: the window's
// while it has one, the kept text otherwise.  Between BeginUpdate and EndUpdate the lines
// are gathered and written once.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo& memo) : memo_(memo) {}

    int Count() const override { return static_cast<int>(lines().size()); }
    std::string Get(int index) const override {
        std::vector<std::string> l = lines();
        checkIndex(index, l.size());
        return l[static_cast<size_t>(index)];
    }
    void Put(int index, const std::string& s) override {
        std::vector<std::string> l = lines();
        checkIndex(index, l.size());
        l[static_cast<size_t>(index)] = s;
        store(l);
    }
    void Insert(int index, const std::string& s) override {
        std::vector<std::string> l = lines();
        if (index < 0 || static_cast<size_t>(index) > l.size())
            throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
        l.insert(l.begin() + index, s);
        store(l);
    }
    void Delete(int index) override {
        std::vector<std::string> l = lines();
        checkIndex(index, l.size());
        l.erase(l.begin() + index);
        store(l);
    }
    void Clear() override {
        if (batch_) { batch_->clear(); return; }
        memo_.SetText(std::string());
    }
    // The text as it is, each line ended by CR LF: the lines a word-wrapped window shows
    // on several rows stay whole.
    std::string Text() const override {
        if (batch_) return TStrings::Text();
        std::string t = AdjustLineBreaks(memo_.Text());
        if (!t.empty() && t.back() != '\n') t += "\r\n";  // after AdjustLineBreaks every break is CR LF
        return t;
    }
    void SetText(const std::string& text) override {
        if (batch_) { batch_ = splitLines(text); return; }
        memo_.SetText(AdjustLineBreaks(text));
    }

protected:
    void SetUpdateState(bool updating) override {
        if (updating || !batch_) return;
        std::vector<std::string> l = std::move(*batch_);
        batch_.reset();
        memo_.SetText(joinLines(l));
    }

private:
    std::vector<std::string> lines() const {
        if (batch_) return *batch_;
        std::vector<std::string> l = splitLines(memo_.Text());
        if (updateCount_ > 0) batch_ = l;
        return l;
    }
    void store(const std::vector<std::string>& l) {
        if (updateCount_ > 0) { batch_ = l; return; }
        memo_.SetText(joinLines(l));
    }

    TCustomMemo& memo_;
    mutable std::optional<std::vector<std::string>> batch_;
};

const TClassInfo& TCustomMemo::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCustomMemo>("TCustomMemo", &TCustomEdit::StaticClassInfo(), [](TClassBuilder<TCustomMemo>& b) {
        b.Object("Lines", [](TCustomMemo& m) -> TObject* { return &m.Lines(); });
        b.Enum("ScrollBars", ScrollStyleNames, [](TCustomMemo& m) -> int64_t { return m.ScrollBars(); }, [](TCustomMemo& m, int64_t v) { m.SetScrollBars(static_cast<TScrollStyle>(v)); });
        b.Bool("WordWrap", [](TCustomMemo& m) { return m.WordWrap(); }, [](TCustomMemo& m, bool v) { m.SetWordWrap(v); });
        b.Enum("Alignment", AlignmentNames, [](TCustomMemo& m) -> int64_t { return m.Alignment(); }, [](TCustomMemo& m, int64_t v) { m.SetAlignment(static_cast<TAlignment>(v)); });
        b.Bool("WantReturns", [](TCustomMemo& m) { return m.WantReturns(); }, [](TCustomMemo& m, bool v) { m.SetWantReturns(v); });
        b.Bool("WantTabs", [](TCustomMemo& m) { return m.WantTabs(); }, [](TCustomMemo& m, bool v) { m.SetWantTabs(v); });
    });
    return info;
}

const TClassInfo& TMemo::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TMemo>("TMemo", &TCustomMemo::StaticClassInfo(), [](TClassBuilder<TMemo>& b) { b.Creatable(); });
    return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(*this)) {
    width_ = 185;
    height_ = 89;
}

TCustomMemo::~TCustomMemo() {
    BeginDestruction();
    if (handle_) DestroyHandle();  // while the lines object still exists
}

void TCustomMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style |= ES_MULTILINE;
    if (wordWrap_) p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    if (alignment_ == taCenter) p.Style |= ES_CENTER;
    if (alignment_ == taRightJustify) p.Style |= ES_RIGHT;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
    if (wantReturns_) p.Style |= ES_WANTRETURN;
}

void TCustomMemo::SetScrollBars(TScrollStyle s) { if (s != scrollBars_) { scrollBars_ = s; RecreateWnd(); } }
void TCustomMemo::SetWordWrap(bool v) { if (v != wordWrap_) { wordWrap_ = v; RecreateWnd(); } }
void TCustomMemo::SetAlignment(TAlignment a) { if (a != alignment_) { alignment_ = a; RecreateWnd(); } }

// ---- TCustomListBox ----------------------------------------------------------------

const TListMessages ListBoxMessages{LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_GETITEMDATA, LB_SETITEMDATA,
                                    LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT};
const TListMessages ComboBoxMessages{CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETITEMDATA, CB_SETITEMDATA,
                                     CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT};

namespace {
constexpr LRESULT kListErr = -1;       // LB_ERR, CB_ERR
constexpr LRESULT kListErrSpace = -2;  // LB_ERRSPACE, CB_ERRSPACE

int checkAdded(LRESULT r) {
    if (r == kListErr || r == kListErrSpace) throw Exception("Not enough memory for the list's lines");
    return static_cast<int>(r);
}

[[noreturn]] void outOfBounds(int index) {
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}
}  // namespace

std::string TWindowItems::text(HWND wnd, const TListMessages& m, int index) {
    LRESULT len = SendMessageA(wnd, m.getTextLen, static_cast<WPARAM>(index), 0);
    if (len == kListErr) outOfBounds(index);
    std::string s(static_cast<size_t>(std::max<LRESULT>(0, len)) + 1, '\0');
    LRESULT got = SendMessageA(wnd, m.getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(got == kListErr ? 0 : static_cast<size_t>(got));
    return s;
}

int TWindowItems::Count() const {
    if (!wnd()) return saved_.Count();
    LRESULT n = SendMessageA(wnd(), msg_.getCount, 0, 0);
    return n == kListErr ? 0 : static_cast<int>(n);
}

std::string TWindowItems::Get(int index) const {
    if (!wnd()) return saved_.Get(index);
    return text(wnd(), msg_, index);
}

TObject* TWindowItems::Objects(int index) const {
    if (!wnd()) return saved_.Objects(index);
    LRESULT d = SendMessageA(wnd(), msg_.getItemData, static_cast<WPARAM>(index), 0);
    if (d == kListErr) outOfBounds(index);
    return reinterpret_cast<TObject*>(d);
}

void TWindowItems::PutObject(int index, TObject* obj) {
    if (!wnd()) { saved_.PutObject(index, obj); return; }
    SendMessageA(wnd(), msg_.setItemData, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(obj));
}

int TWindowItems::Add(const std::string& s) {
    if (!sorted_) return TStrings::Add(s);
    if (!wnd()) {
        int i = 0;
        const int n = saved_.Count();
        while (i < n && CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, saved_.Get(i).c_str(), -1, s.c_str(), -1) !=
                            CSTR_GREATER_THAN)
            ++i;
        saved_.Insert(i, s);
        return i;
    }
    return checkAdded(SendMessageA(wnd(), msg_.addString, 0, reinterpret_cast<LPARAM>(s.c_str())));
}

void TWindowItems::Insert(int index, const std::string& s) {
    if (!wnd()) { saved_.Insert(index, s); return; }
    if (index < 0 || index > Count()) outOfBounds(index);
    checkAdded(SendMessageA(wnd(), msg_.insertString, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str())));
}

void TWindowItems::Delete(int index) {
    if (!wnd()) { saved_.Delete(index); return; }
    if (SendMessageA(wnd(), msg_.deleteString, static_cast<WPARAM>(index), 0) == kListErr) outOfBounds(index);
}

void TWindowItems::Clear() {
    if (!wnd()) {
        saved_.Clear();
        if (cleared_) cleared_();
        return;
    }
    SendMessageA(wnd(), msg_.resetContent, 0, 0);
}

void TWindowItems::SetUpdateState(bool updating) {
    if (!wnd()) return;
    SendMessageA(wnd(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
    if (!updating) InvalidateRect(wnd(), nullptr, TRUE);
}

void TWindowItems::SortSaved(TStringList& saved) {
    std::vector<std::string> lines = saved.ToVector();
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
    });
    saved.SetFromVector(lines);
}

void TWindowItems::Push(HWND wnd, const TListMessages& m, TStringList& saved, bool sorted) {
    const int n = saved.Count();
    SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < n; ++i) {
        const std::string s = saved.Get(i);
        LRESULT at = SendMessageA(wnd, sorted ? m.addString : m.insertString, sorted ? 0 : static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(s.c_str()));
        if (at >= 0 && saved.Objects(i))
            SendMessageA(wnd, m.setItemData, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(saved.Objects(i)));
    }
    SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
    saved.Clear();
}

void TWindowItems::Pull(HWND wnd, const TListMessages& m, TStringList& saved) {
    saved.BeginUpdate();
    saved.Clear();
    const int n = static_cast<int>(std::max<LRESULT>(0, SendMessageA(wnd, m.getCount, 0, 0)));
    for (int i = 0; i < n; ++i) {
        saved.Add(text(wnd, m, i));
        saved.PutObject(i, reinterpret_cast<TObject*>(SendMessageA(wnd, m.getItemData, static_cast<WPARAM>(i), 0)));
    }
    saved.EndUpdate();
}

const TClassInfo& TCustomListBox::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TCustomListBox>("TCustomListBox", &TWinControl::StaticClassInfo(), [](TClassBuilder<TCustomListBox>& b) {
        b.Object("Items", [](TCustomListBox& l) -> TObject* { return &l.Items(); });
        b.Int("ItemIndex", [](TCustomListBox& l) -> int64_t { return l.ItemIndex(); }, [](TCustomListBox& l, int64_t v) { l.SetItemIndex(static_cast<int>(v)); });
        b.Bool("Sorted", [](TCustomListBox& l) { return l.Sorted(); }, [](TCustomListBox& l, bool v) { l.SetSorted(v); });
        b.Bool("IntegralHeight", [](TCustomListBox& l) { return l.IntegralHeight(); }, [](TCustomListBox& l, bool v) { l.SetIntegralHeight(v); });
        b.Int("ItemHeight", [](TCustomListBox& l) -> int64_t { return l.ItemHeight(); }, [](TCustomListBox& l, int64_t v) { l.SetItemHeight(static_cast<int>(v)); });
        DescribeBorder(b);
    });
    return info;
}

const TClassInfo& TListBox::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TListBox>("TListBox", &TCustomListBox::StaticClassInfo(), [](TClassBuilder<TListBox>& b) { b.Creatable(); });
    return info;
}

TCustomListBox::TCustomListBox(TComponent* owner)
    : TBorderedControl(owner, bsSingle), saved_(std::make_unique<TStringList>()) {
    items_ = std::make_unique<TWindowItems>(*this, ListBoxMessages, *saved_, sorted_, [this] { itemIndex_ = -1; topIndex_ = 0; });
    width_ = 121;
    height_ = 97;
    tabStop_ = true;
}

TCustomListBox::~TCustomListBox() {
    BeginDestruction();
    if (handle_) DestroyHandle();  // while the lines object still exists
}

void TCustomListBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "LISTBOX");
    p.Style |= LBS_NOTIFY | LBS_HASSTRINGS | WS_VSCROLL;
    if (sorted_) p.Style |= LBS_SORT;
    if (!integralHeight_) p.Style |= LBS_NOINTEGRALHEIGHT;
    applyBorder(p);
}

void TCustomListBox::CreateHandleContents() {
    const int n = saved_->Count();
    TWindowItems::Push(handle_, ListBoxMessages, *saved_, sorted_);
    if (itemIndex_ >= 0 && itemIndex_ < n) SendMessageA(handle_, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    if (topIndex_ > 0) SendMessageA(handle_, LB_SETTOPINDEX, static_cast<WPARAM>(topIndex_), 0);
}

void TCustomListBox::SaveHandleContents() {
    if (beingFreed()) return;
    TWindowItems::Pull(handle_, ListBoxMessages, *saved_);
    LRESULT sel = SendMessageA(handle_, LB_GETCURSEL, 0, 0);
    itemIndex_ = sel == LB_ERR ? -1 : static_cast<int>(sel);
    topIndex_ = static_cast<int>(std::max<LRESULT>(0, SendMessageA(handle_, LB_GETTOPINDEX, 0, 0)));
}

void TCustomListBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        switch (HIWORD(m.WParam)) {
        case LBN_SELCHANGE: Click(); m.Result = 0; return;
        case LBN_DBLCLK: DblClick(); m.Result = 0; return;
        default: break;
        }
    }
    TWinControl::WndProc(m);
}

int TCustomListBox::ItemIndex() {
    if (!handle_) return itemIndex_ < saved_->Count() ? itemIndex_ : -1;
    LRESULT sel = SendMessageA(handle_, LB_GETCURSEL, 0, 0);
    return sel == LB_ERR ? -1 : static_cast<int>(sel);
}

void TCustomListBox::SetItemIndex(int index) {
    if (index < -1) index = -1;
    if (!handle_) { itemIndex_ = index; return; }
    SendMessageA(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TCustomListBox::TopIndex() {
    if (!handle_) return topIndex_;
    return static_cast<int>(std::max<LRESULT>(0, SendMessageA(handle_, LB_GETTOPINDEX, 0, 0)));
}

void TCustomListBox::SetTopIndex(int index) {
    topIndex_ = std::max(0, index);
    if (handle_) SendMessageA(handle_, LB_SETTOPINDEX, static_cast<WPARAM>(topIndex_), 0);
}

void TCustomListBox::SetSorted(bool v) {
    if (v == sorted_) return;
    sorted_ = v;
    if (v && !handle_) TWindowItems::SortSaved(*saved_);
    RecreateWnd();  // the window sorts what it is given again
}

void TCustomListBox::SetIntegralHeight(bool v) { if (v != integralHeight_) { integralHeight_ = v; RecreateWnd(); } }

// A standard list takes its line height from its font; the stored value is kept for
// forms that name it.
int TCustomListBox::ItemHeight() {
    if (!handle_) return itemHeight_;
    LRESULT h = SendMessageA(handle_, LB_GETITEMHEIGHT, 0, 0);
    return h == LB_ERR ? itemHeight_ : static_cast<int>(h);
}

void TCustomListBox::SetItemHeight(int h) { itemHeight_ = std::max(0, h); }

int TCustomListBox::ItemAtPos(POINT p, bool existing) {
    if (!Handle()) return -1;
    LRESULT r = SendMessageA(handle_, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
    const int index = LOWORD(r);
    const bool outside = HIWORD(r) != 0;
    RECT client;
    GetClientRect(handle_, &client);
    if (!outside) return index;
    if (existing || !PtInRect(&client, p)) return -1;
    return Count();
}

RECT TCustomListBox::ItemRect(int index) {
    RECT r{0, 0, 0, 0};
    if (Handle()) SendMessageA(handle_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

// ---- TButton -----------------------------------------------------------------------

const TClassInfo& TButton::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TButton>("TButton", &TWinControl::StaticClassInfo(), [](TClassBuilder<TButton>& b) {
        b.Creatable();
        b.Bool("Default", [](TButton& x) { return x.Default(); }, [](TButton& x, bool v) { x.SetDefault(v); });
        b.Bool("Cancel", [](TButton& x) { return x.Cancel(); }, [](TButton& x, bool v) { x.SetCancel(v); });
        b.Int("ModalResult", [](TButton& x) -> int64_t { return x.ModalResult(); }, [](TButton& x, int64_t v) { x.SetModalResult(static_cast<TModalResult>(v)); }, &ModalResultIdents);
    });
    return info;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    width_ = 75;
    height_ = 25;
    tabStop_ = true;
    color_ = clBtnFace;
    brush_.SetColor(color_);
}

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
    if (v == default_) return;
    default_ = v;
    if (handle_) SetButtonStyle(v);
}

void TButton::SetButtonStyle(bool asDefault) {
    SendMessageA(handle_, BM_SETSTYLE, asDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

TCustomForm* TButton::parentForm() const {
    const TControl* c = this;
    while (c->Parent()) c = c->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TButton::Click() {
    if (modalResult_ != mrNone) {
        TCustomForm* form = parentForm();
        if (form && GetPropInfo(*form, "ModalResult")) SetOrdProp(*form, "ModalResult", modalResult_);
    }
    TWinControl::Click();
}

void TButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        Click();
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}
