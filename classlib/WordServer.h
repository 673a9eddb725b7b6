// The word processor's automation objects as components: TWordApplication (the
// application object: Visible, Quit) and TWordDocument (a document: Range), and the
// range a document hands out (InsertAfter, Text).  Only the members the programs call;
// each is a late-bound call by name, and every failed result raises at the call.
//
// Types: TWordApplication, TWordDocument, WordRange; the class and interface ids.
#pragma once
#include <string>

#include "OleServer.h"

// Class ids of the word processor's application and document objects.
extern const CLSID CLSID_WordApplication;
extern const CLSID CLSID_WordDocument;

// A stretch of a document's text.
class WordRange {
public:
    explicit WordRange(OleDispatch range) : range_(std::move(range)) {}
    // Appends text after the range's last character.
    void InsertAfter(const std::wstring& text);
    std::wstring Text();

private:
    OleDispatch range_;
};

class TWordApplication : public TOleServer {
    CLASS_INFO(TWordApplication)
public:
    explicit TWordApplication(TComponent* owner) : TOleServer(owner) {}
    ~TWordApplication() override { Disconnect(); }  // DoQuit is this class's

    bool Visible();
    void SetVisible(bool visible);
    void Quit();

protected:
    const CLSID& ServerClassId() const override { return CLSID_WordApplication; }
    void DoQuit() override { Quit(); }
};

class TWordDocument : public TOleServer {
    CLASS_INFO(TWordDocument)
public:
    explicit TWordDocument(TComponent* owner) : TOleServer(owner) {}

    // The document's text from Start to End; an omitted end (or both) reaches to the end
    // of the document.
    WordRange Range(const OleVariant& Start = EmptyParam(), const OleVariant& End = EmptyParam());

protected:
    // The document is called through its IDispatch, never through its own interface:
    // a late-bound client needs no marshalling of that interface across processes
    // (under Wine the system's dispatch proxy marshals it only with a type library).
    const CLSID& ServerClassId() const override { return CLSID_WordDocument; }
};
