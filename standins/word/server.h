// The stand-in word processor's process-wide state: its documents (the active one is the
// one entered in the running-object table and shown in the window), whether it is visible,
// whether tests told it to fail, and how the process ends.  objects.cpp holds the
// automation objects, server.cpp the state, class objects and registration, window.cpp
// the window.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <string>

namespace word_standin {

class Document;

extern const CLSID kApplicationClass;
extern const CLSID kDocumentClass;
extern const IID kDocumentInterface;

// The application object (one per process, made at start).
IDispatch* application();
IDispatch* makeApplication();

// A new empty document: it becomes the active one.  Returns a reference for the caller.
Document* newDocument();
Document* activeDocument();  // borrowed; nullptr when none is open
int openDocumentCount();
// Closes a document: clients that still hold it are cut off (their calls fail as calls
// to a closed server object do), and the previous open document becomes active.
void closeDocument(Document* document);
std::wstring documentText(const Document* document);
void appendToDocument(Document* document, const std::wstring& text);
bool documentClosed(const Document* document);
int documentNumber(const Document* document);  // 1 for the process's first

bool isVisible();
// Hiding is refused while a document holds text: dictated text never goes out of sight.
void setVisible(bool visible);
bool failing();
void setFailing(bool fail);

// Ends the process's service: class objects and running entries revoked, clients cut
// off, the window gone, the message loop told to end.
void quitServer();
// Registers the class objects and enters the application in the running-object table.
// Started by a person (not embedded), it shows its window with an empty document.
bool startServer(bool embedded);
// Ends the process when nothing keeps it: no client connection, no lock, not visible.
void quitIfUnused();

// Window (window.cpp).
bool createMainWindow(HINSTANCE instance);
void showMainWindow(bool show);
void refreshMainWindow();  // caption and text of the active document
void destroyMainWindow();
// Ask the window's thread to run quitIfUnused a little later (a client being served may
// not have connected yet), or quitServer once the current call has returned.
void postUnusedCheck();
void postQuitRequest();

// Registration (registration.cpp): LocalServer32 entries for both classes and the
// document interface; the path is this program's.
HRESULT registerServer();
HRESULT unregisterServer();

// Object creation (objects.cpp).
Document* makeDocument(int number);
void disconnectDocument(Document* document);

}  // namespace word_standin
