// Private to the standard controls: the lines of a system list (list box or combo box),
// read and written through the window while it has one and kept in a string list while
// it has none.  The list box and the combo box differ only in their message numbers.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "Classes.h"
#include "Controls.h"

// The messages one kind of system list answers.  Both kinds report failure as -1 and a
// full list as -2.
struct TListMessages {
    UINT getCount, getTextLen, getText, getItemData, setItemData, addString, insertString, deleteString, resetContent;
};
extern const TListMessages ListBoxMessages;
extern const TListMessages ComboBoxMessages;

class TWindowItems : public TStrings {
public:
    // saved: the lines while there is no window; sorted: read at each Add; cleared: runs
    // when the kept lines are cleared (the owner forgets its kept selection).
    TWindowItems(TWinControl& control, const TListMessages& messages, TStringList& saved, const bool& sorted,
                 std::function<void()> cleared)
        : control_(control), msg_(messages), saved_(saved), sorted_(sorted), cleared_(std::move(cleared)) {}

    int Count() const override;
    std::string Get(int index) const override;
    TObject* Objects(int index) const override;
    void PutObject(int index, TObject* obj) override;
    int Add(const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;

    // Moves the kept lines into a new window (the kept list is emptied), and back into the
    // kept list before the window goes.
    static void Push(HWND wnd, const TListMessages& m, TStringList& saved, bool sorted);
    static void Pull(HWND wnd, const TListMessages& m, TStringList& saved);
    // Sorts kept lines as a sorted system list orders them (the user's locale, case
    // ignored; equal lines keep their order).
    static void SortSaved(TStringList& saved);

protected:
    void SetUpdateState(bool updating) override;

private:
    HWND wnd() const { return control_.HandleAllocated() ? control_.Handle() : nullptr; }
    static std::string text(HWND wnd, const TListMessages& m, int index);
    TWinControl& control_;
    const TListMessages& msg_;
    TStringList& saved_;
    const bool& sorted_;
    std::function<void()> cleared_;
};
