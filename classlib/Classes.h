// Persistent objects, components with owners, string lists and collections.
//
// Types: TPersistent, TComponent (with TComponentState, TOperation), TStrings,
//        TStringList, TCollectionItem, TCollection, TNotifyEvent, Exception.
#pragma once
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "TypInfo.h"

// The class library's error: a message in user text (GBK).
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EReadError : public Exception {
public:
    using Exception::Exception;
};
class EStringListError : public Exception {
public:
    using Exception::Exception;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
    CLASS_INFO(TPersistent)
public:
    // Copies the state of another object of a compatible class; raises when it cannot.
    virtual void Assign(const TPersistent& source);
};

enum TComponentStateBit : unsigned { csLoading = 1, csDestroying = 2, csDesigning = 4, csReading = 8 };
enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    CLASS_INFO(TComponent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name);
    intptr_t Tag() const { return tag_; }
    void SetTag(intptr_t t) { tag_ = t; }
    unsigned ComponentState() const { return state_; }
    bool IsLoading() const { return (state_ & csLoading) != 0; }
    bool IsDestroying() const { return (state_ & csDestroying) != 0; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int i) const { return components_.at(static_cast<size_t>(i)); }
    TComponent* FindComponent(const std::string& name) const;  // case-insensitive, owned components

    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    // Asks to be told (Notification opRemove) when another component is freed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Loading protocol: the reader sets csLoading, sets the properties, then calls Loaded
    // on every component of the form once everything is read.
    void BeginLoading() { state_ |= csLoading | csReading; }
    void EndReading() { state_ &= ~csReading; }
    virtual void Loaded();
    // Called by the form reader with the enclosing stored object; controls take it as
    // their parent when it is a windowed control.
    virtual void SetParentComponent(TComponent* parent) {}

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    void SetDestroying() { state_ |= csDestroying; }
    // Frees every owned component, last first.  Descendants that must run code before
    // their children go call it from their own destructor.
    void DestroyComponents();

private:
    void notifyRemoval();
    TComponent* owner_ = nullptr;
    std::string name_;
    intptr_t tag_ = 0;
    unsigned state_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

// An ordered list of 8-bit strings, each with an object pointer.
class TStrings : public TPersistent {
    CLASS_INFO(TStrings)
public:
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s);
    virtual TObject* Objects(int index) const { return nullptr; }
    virtual void PutObject(int index, TObject* obj) {}
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Add(const std::string& s);
    virtual int IndexOf(const std::string& s) const;  // case-insensitive, as the platform's
    void AddStrings(const TStrings& other);
    void Assign(const TPersistent& source) override;
    std::string operator[](int i) const { return Get(i); }

    // Lines joined with CR LF after each; setting splits at CR, LF or CR LF.
    virtual std::string Text() const;
    virtual void SetText(const std::string& text);
    std::vector<std::string> ToVector() const;
    void SetFromVector(const std::vector<std::string>& lines);

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate() { if (--updateCount_ == 0) SetUpdateState(false); }
    // Virtual: lists over documents (the rich edit's) read and write their own formats.
    virtual void SaveToFile(const std::string& fileName) const;   // raises EFCreateError-like Exception
    virtual void LoadFromFile(const std::string& fileName);

    TNotifyEvent OnChange;

protected:
    virtual void SetUpdateState(bool updating) {}
    int updateCount_ = 0;
};

class TStringList : public TStrings {
    CLASS_INFO(TStringList)
public:
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* Objects(int index) const override;
    void PutObject(int index, TObject* obj) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;

protected:
    // The end of an update counts as one change.
    void SetUpdateState(bool updating) override { if (!updating) changed(); }

private:
    void changed();
    void check(int index) const;
    std::vector<std::pair<std::string, TObject*>> items_;
};

class TCollection;

class TCollectionItem : public TPersistent {
    CLASS_INFO(TCollectionItem)
public:
    explicit TCollectionItem(TCollection* collection) : collection_(collection) {}
    TCollection* Collection() const { return collection_; }
    int Index() const;

protected:
    void Changed();

private:
    TCollection* collection_;
};

// Items of one class, owned by the collection; stored forms list them between < and >.
class TCollection : public TPersistent {
    CLASS_INFO(TCollection)
public:
    using ItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection*)>;
    explicit TCollection(ItemFactory factory) : factory_(std::move(factory)) {}
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int i) const { return items_.at(static_cast<size_t>(i)).get(); }
    TCollectionItem* Add();
    void Delete(int index);
    void Clear();
    int IndexOf(const TCollectionItem* item) const;
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate() { if (--updateCount_ == 0) Update(nullptr); }

    // Called after items are added, removed or changed (item = nullptr: all of them).
    std::function<void(TCollectionItem* item)> OnUpdate;

protected:
    friend class TCollectionItem;
    void Update(TCollectionItem* item) { if (updateCount_ == 0 && OnUpdate) OnUpdate(item); }

private:
    ItemFactory factory_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
    int updateCount_ = 0;
};
