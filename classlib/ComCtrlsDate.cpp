// Date-time pickers on the platform's class, and the conversions between TDateTime and
// SYSTEMTIME.  The picker holds its value itself while it has a window; the control keeps
// it while it has none.
#include "ComCtrls.h"

#include <commctrl.h>

#include <oleauto.h>

#include <cmath>


const TEnumNames DateTimeKindNames{{{"dtkDate", dtkDate}, {"dtkTime", dtkTime}}};
const TEnumNames DTDateFormatNames{{{"dfShort", dfShort}, {"dfLong", dfLong}}};

// The platform's automation dates are the same days-since-1899 numbers; they count whole
// seconds, as the picker does.
TDateTime SystemTimeToDateTime(const SYSTEMTIME& st) {
    double v = 0;
    return SystemTimeToVariantTime(const_cast<SYSTEMTIME*>(&st), &v) ? v : 0;
}

bool DateTimeToSystemTime(TDateTime dt, SYSTEMTIME& st) {
    if (!std::isfinite(dt)) return false;
    return VariantTimeToSystemTime(dt, &st) != FALSE;
}

const TClassInfo& TDateTimePicker::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TDateTimePicker>("TDateTimePicker", &TWinControl::StaticClassInfo(), [](TClassBuilder<TDateTimePicker>& b) {
        b.Creatable();
        b.Enum("Kind", DateTimeKindNames, [](TDateTimePicker& d) -> int64_t { return d.Kind(); }, [](TDateTimePicker& d, int64_t v) { d.SetKind(static_cast<TDateTimeKind>(v)); });
        b.Enum("DateFormat", DTDateFormatNames, [](TDateTimePicker& d) -> int64_t { return d.DateFormat(); }, [](TDateTimePicker& d, int64_t v) { d.SetDateFormat(static_cast<TDTDateFormat>(v)); });
        b.Event("OnChange", &TDateTimePicker::OnChange);
    });
    return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
    width_ = 186;
    height_ = 21;
    tabStop_ = true;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    dateTime_ = SystemTimeToDateTime(now);
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
    // The picker's class is registered only on request.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, DATETIMEPICK_CLASSA);
    if (kind_ == dtkTime) p.Style |= DTS_TIMEFORMAT;
    else if (dateFormat_ == dfLong) p.Style |= DTS_LONGDATEFORMAT;
    else p.Style |= DTS_SHORTDATEFORMAT;
}

void TDateTimePicker::CreateHandleContents() {
    SYSTEMTIME st{};
    if (DateTimeToSystemTime(dateTime_, st)) SendMessageA(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void TDateTimePicker::SaveHandleContents() { dateTime_ = DateTime(); }

TDateTime TDateTimePicker::DateTime() {
    if (handle_) {
        SYSTEMTIME st{};
        if (SendMessageA(handle_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID)
            dateTime_ = SystemTimeToDateTime(st);
    }
    return dateTime_;
}

void TDateTimePicker::SetDateTime(TDateTime v) {
    SYSTEMTIME st{};
    if (!DateTimeToSystemTime(v, st)) throw Exception("Invalid date or time for the picker");
    dateTime_ = v;
    if (handle_) SendMessageA(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

TDateTime TDateTimePicker::Date() { return std::trunc(DateTime()); }
TDateTime TDateTimePicker::Time() { const TDateTime dt = DateTime(); return std::fabs(dt - std::trunc(dt)); }

void TDateTimePicker::SetDate(TDateTime v) {
    const TDateTime days = std::trunc(v);
    SetDateTime(days >= 0 ? days + Time() : days - Time());
}

void TDateTimePicker::SetTime(TDateTime v) {
    const TDateTime days = Date();
    const TDateTime t = std::fabs(v - std::trunc(v));
    SetDateTime(days >= 0 ? days + t : days - t);
}

void TDateTimePicker::SetKind(TDateTimeKind k) { if (k != kind_) { kind_ = k; RecreateWnd(); } }
void TDateTimePicker::SetDateFormat(TDTDateFormat f) { if (f != dateFormat_) { dateFormat_ = f; RecreateWnd(); } }

void TDateTimePicker::WndProc(TMessage& m) {
    if (const NMHDR* hdr = ReflectedNotify(m); hdr && hdr->code == DTN_DATETIMECHANGE) {
        DateTime();
        if (OnChange) OnChange(this);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}
