#include "WordServer.h"

// {000209FF-0000-0000-C000-000000000046}
const CLSID CLSID_WordApplication = {0x000209FF, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {00020906-0000-0000-C000-000000000046}
const CLSID CLSID_WordDocument = {0x00020906, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

void WordRange::InsertAfter(const std::wstring& text) { range_.Call(L"InsertAfter", {OleVariant(text)}); }

std::wstring WordRange::Text() { return range_.Get(L"Text").ToString(); }

const TClassInfo& TWordApplication::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TWordApplication>(
        "TWordApplication", &TOleServer::StaticClassInfo(), [](TClassBuilder<TWordApplication>& b) { b.Creatable(); });
    return info;
}

bool TWordApplication::Visible() { return Server().Get(L"Visible").ToBool(); }

void TWordApplication::SetVisible(bool visible) { Server().Put(L"Visible", OleVariant(visible)); }

void TWordApplication::Quit() { Server().Call(L"Quit"); }

const TClassInfo& TWordDocument::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TWordDocument>(
        "TWordDocument", &TOleServer::StaticClassInfo(), [](TClassBuilder<TWordDocument>& b) { b.Creatable(); });
    return info;
}

WordRange TWordDocument::Range(const OleVariant& Start, const OleVariant& End) {
    return WordRange(OleDispatch(Server().Call(L"Range", {Start, End}).ToDispatch()));
}
