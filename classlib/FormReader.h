// Stored form descriptions: a text of nested objects with their properties, read into a
// form and its components.
//
//   object Fnotepad: TFnotepad
//     Caption = 'Orvisk'            strings: '...' with '' for a quote, #nnn for a UTF-16
//     Font.Height = -11             code unit, pieces joined by adjacency or '+'
//     Align = alClient              identifiers: enumeration values, colours, references
//     Anchors = [akLeft, akTop]     sets
//     Items.Strings = ('a' 'b')     string lists
//     Panels = <item Width = 130 end>   collections
//     SkinStream = {0A1B...}        bytes in hexadecimal, or @NAME for the bytes of the
//     OnClick = M_SaveClick         program's RCDATA resource NAME; handlers by name
//     object Panel1: TPanel ... end
//   end
//
// The text is UTF-8; strings become GBK user text.  Reading fails loudly (EReadError with
// the line) on a syntax error, an unknown class, property, value or handler, and on a
// field of the form that no stored component fills.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Classes.h"

namespace dfm {

struct Item;
struct Property;

struct Value {
    enum Kind { Integer, String, Ident, Set, List, Collection, Binary, Resource } kind = Integer;
    int64_t integer = 0;
    std::wstring string;              // String
    std::string ident;                // Ident, Resource
    std::vector<std::string> set;     // Set
    std::vector<Value> list;          // List
    std::vector<Item> items;          // Collection
    TBytes bytes;                     // Binary
};

struct Property {
    std::string name;  // may be dotted: Font.Name
    Value value;
    int line = 0;
};

struct Item {
    std::vector<Property> props;
};

struct Object {
    std::string name;
    std::string className;
    std::vector<Property> props;
    std::vector<Object> children;
    int line = 0;
};

// Parses a whole description; raises EReadError with the line number on bad syntax.
Object Parse(const std::string& utf8Text);

}  // namespace dfm

// Reads a parsed description into root (the form): sets root's own properties, creates
// and names every child component (owned by root, parented to the enclosing control),
// sets their properties, binds handlers and fields, resolves references, then calls
// Loaded on root and every component, in stored order.
void ReadComponentDescription(TComponent& root, const dfm::Object& description);

// The description stored in the program's RCDATA resource named after the class
// (upper case), e.g. "TFNOTEPAD".  Raises EReadError when it is missing.
std::string LoadFormResource(const std::string& className);
// The bytes of an RCDATA resource of the program; raises EReadError when missing.
TBytes LoadRcDataResource(const std::string& name);

// Called by a component while it is read, to be placed in its enclosing control.
// Controls override TComponent::SetParentComponent for this.
