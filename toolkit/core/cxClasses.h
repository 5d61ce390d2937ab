#pragma once
// cxClasses: the toolkit's base classes (persistent objects with owners, components with object
// links, sortable collections, typed lists, component collections, multicast events), its class
// registries, the resource-string overrides and small library procedures.
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Contnrs.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/ResString.h"
#include "platform/rtl/Strings.h"
#include "platform/vcl/MessageQueue.h"
#include "toolkit/core/dxCore.h"

namespace cx {

// Sets a flag for the duration of a scope and puts the old value back, also when an exception
// leaves the scope.
class FlagScope {
public:
    FlagScope(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

// --- persistent and interface bases -------------------------------------------------------------
// IUnknown without reference counting: interfaces never free toolkit objects.
class TcxIUnknownObject : public TObject, public IUnknown {
    RTL_CLASS(TcxIUnknownObject, TObject)
    long QueryInterface(const TGUID& iid, void** obj) override;
    int _AddRef() override { return -1; }
    int _Release() override { return -1; }

protected:
    virtual bool GetInterface(const TGUID& iid, void** obj) { return false; }
};

class TcxInterfacedPersistent : public TInterfacedPersistent {
    RTL_CLASS(TcxInterfacedPersistent, TInterfacedPersistent)
    explicit TcxInterfacedPersistent(TPersistent* owner) : owner_(owner) {}
    TPersistent* GetOwner() override { return owner_; }

private:
    TPersistent* owner_;
};
using TcxInterfacedPersistentClass = TClassRef<TcxInterfacedPersistent, TPersistent*>;

class TcxOwnedPersistent : public TPersistent {
    RTL_CLASS(TcxOwnedPersistent, TPersistent)
    explicit TcxOwnedPersistent(TPersistent* owner) : owner_(owner) {}
    TPersistent* GetOwner() override { return owner_; }

private:
    TPersistent* owner_;
};
using TcxOwnedPersistentClass = TClassRef<TcxOwnedPersistent, TPersistent*>;

class TcxOwnedInterfacedPersistent : public TcxOwnedPersistent, public IUnknown {
    RTL_CLASS(TcxOwnedInterfacedPersistent, TcxOwnedPersistent)
    using TcxOwnedPersistent::TcxOwnedPersistent;
    long QueryInterface(const TGUID& iid, void** obj) override;
    int _AddRef() override { return -1; }
    int _Release() override { return -1; }

protected:
    virtual bool GetInterface(const TGUID& iid, void** obj) { return false; }
};

// Reference counting forwards to the owning collection's IUnknown, when it has one.
class TcxInterfacedCollectionItem : public TCollectionItem, public IUnknown {
    RTL_CLASS(TcxInterfacedCollectionItem, TCollectionItem)
    using TCollectionItem::TCollectionItem;
    long QueryInterface(const TGUID& iid, void** obj) override;
    int _AddRef() override;
    int _Release() override;

protected:
    virtual bool GetInterface(const TGUID& iid, void** obj) { return false; }
    IUnknown* OwnerInterface();
};

enum TcxPosition { posNone, posLeft, posRight, posTop, posBottom };
enum TcxDirection { dirNone, dirLeft, dirRight, dirUp, dirDown };
enum TcxCollectionOperation { copAdd, copDelete, copChanged };
enum TcxAlignmentVert { vaTop, vaBottom, vaCenter };
using TcxTopBottom = TcxAlignmentVert;   // vaTop .. vaBottom

// --- components and object links ----------------------------------------------------------------
class TcxComponent : public TComponent {
    RTL_CLASS(TcxComponent, TComponent)
    explicit TcxComponent(TComponent* owner) : TComponent(owner) {}
    ~TcxComponent() override;
    void BeforeDestruction() override;
    void Loaded() override;

    TComponent* FakeComponentLink1 = nullptr;
    TComponent* FakeComponentLink2 = nullptr;
    TComponent* FakeComponentLink3 = nullptr;
    int GetFakeComponentLinkCount() const { return 3; }
    void SetFakeComponentLink(int index, TComponent* component);
    void UpdateFakeLinks();
    bool GetIsDesigning() const { return ComponentState().Contains(csDesigning); }
    bool GetIsDestroying() const { return ComponentState().Contains(csDestroying); }

protected:
    virtual void GetFakeComponentLinks(TList* list) {}
};

// A link to an object that the holder does not own; Target becomes null when the object dies.
class TcxObjectLink : public TObject {
    RTL_CLASS(TcxObjectLink, TObject)
    TObject* Target = nullptr;
};

TcxObjectLink* cxAddObjectLink(TObject* object);
void cxRemoveObjectLink(TcxObjectLink* link);
void cxClearObjectLinks(TObject* object);
int cxObjectLinkCount();   // live controller use count (0 when no controller exists)

// --- collections ----------------------------------------------------------------------------------
class TcxCollection : public TCollection {
    RTL_CLASS(TcxCollection, TCollection)
    using TCollection::TCollection;
    // Reuses the items present, adds the missing ones and deletes the surplus.
    void Assign(TPersistent* source) override;
};

enum TcxCollectionInternalStateFlag { cisDestroying, cisUpdating, cisSorting };
using TcxCollectionInternalState = Set<TcxCollectionInternalStateFlag>;
using TcxCollectionNotifyEvent = Event<void(TObject* sender, TCollectionItem* item)>;
using TcxCollectionCompareEvent = Event<int(TObject* sender, TCollectionItem* item1, TCollectionItem* item2)>;

class TcxOwnedInterfacedCollection : public TOwnedCollection, public IUnknown {
    RTL_CLASS(TcxOwnedInterfacedCollection, TOwnedCollection)
    using TOwnedCollection::TOwnedCollection;
    ~TcxOwnedInterfacedCollection() override;
    void BeforeDestruction() override;
    long QueryInterface(const TGUID& iid, void** obj) override;
    int _AddRef() override { return -1; }
    int _Release() override { return -1; }

    void Sort();
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    bool GetIsDestroying() const { return state_.Contains(cisDestroying); }

    TcxCollectionNotifyEvent OnItemsChanged;
    TcxCollectionCompareEvent OnCompareItems;

protected:
    virtual int DoCompareItems(TCollectionItem* item1, TCollectionItem* item2);
    virtual bool GetInterface(const TGUID& iid, void** obj) { return false; }
    void Update(TCollectionItem* item) override;

private:
    int CompareItems(TStringList* list, int index1, int index2);
    TcxCollectionInternalState state_;
    bool sorted_ = false;
};

// --- lists -------------------------------------------------------------------------------------------
class TcxStringList : public TStringList {
    RTL_CLASS(TcxStringList, TStringList)
    Event<int(TStringList* list, int index1, int index2)> OnCompare;
    void Sort() override;
};

class TcxObjectList : public TList {
    RTL_CLASS(TcxObjectList, TList)
    explicit TcxObjectList(bool ownsObjects = false) : ownsObjects_(ownsObjects) {}
    ~TcxObjectList() override { Clear(); }
    void Clear() override;
    TObject* GetItem(int index) const { return static_cast<TObject*>(Get(index)); }
    int Add(TObject* obj) { return TList::Add(obj); }
    bool OwnsObjects() const { return ownsObjects_; }

private:
    bool ownsObjects_;
};

class TcxOpenList : public TList {
    RTL_CLASS(TcxOpenList, TList)
    TObject* GetItem(int index) const { return static_cast<TObject*>(Get(index)); }
    // Writing at or beyond Count first grows the list (new slots are null).
    void SetItem(int index, TObject* obj);
};

enum TcxComponentCollectionNotification { ccnAdded, ccnChanged, ccnExtracting, ccnExtracted, ccnDeleting };
using TcxComponentListChangeEvent = Event<void(TObject* sender, TComponent* component, TcxComponentCollectionNotification action)>;
using TcxComponentListNotifyEvent = Event<void(TObject* sender, TComponent* component, TListNotification action)>;

class TcxComponentList : public TComponentList {
    RTL_CLASS(TcxComponentList, TComponentList)
    TcxComponentList() : TComponentList(false) {}
    ~TcxComponentList() override;
    void BeforeDestruction() override;
    void Clear() override;
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    void CancelUpdate() { --updateCount_; }

    TcxComponentListChangeEvent OnListChanged;
    TcxComponentListNotifyEvent OnItemNotify;

protected:
    void Notify(void* ptr, TListNotification action) override;
    virtual void DoNotify(TComponent* item, TListNotification action);
    virtual const TClassMeta& GetItemClass() const { return TComponent::StaticClass(); }
    virtual void Update(TComponent* component, TcxComponentCollectionNotification action);

private:
    int updateCount_ = 0;
};

// --- component collections -----------------------------------------------------------------------
class TcxComponentCollection;

class TcxComponentCollectionItem : public TComponent {
    RTL_CLASS(TcxComponentCollectionItem, TComponent)
    explicit TcxComponentCollectionItem(TComponent* owner) : TComponent(owner) {}
    ~TcxComponentCollectionItem() override;
    void BeforeDestruction() override;

    TcxComponentCollection* Collection() const { return collection_; }
    int ID() const { return id_; }
    int GetIndex() const;
    virtual void SetIndex(int value);
    virtual void SetCollection(TcxComponentCollection* value);
    virtual std::string GetDisplayName() { return Name(); }
    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() override;
    bool HasParent() override { return GetParentComponent() != nullptr; }

protected:
    virtual TcxComponentCollection* GetCollectionFromParent(TComponent* parent) = 0;
    void Changed(bool allItems);

private:
    friend class TcxComponentCollection;
    TcxComponentCollection* collection_ = nullptr;
    int id_ = 0;
};
using TcxComponentCollectionItemClass = TClassRef<TcxComponentCollectionItem, TComponent*>;
using TcxComponentCollectionChangeEvent =
    Event<void(TObject* sender, TcxComponentCollectionItem* item, TcxComponentCollectionNotification action)>;

class TcxComponentCollection : public TPersistent {
    RTL_CLASS(TcxComponentCollection, TPersistent)
    TcxComponentCollection(TComponent* parentComponent, TcxComponentCollectionItemClass itemClass);
    ~TcxComponentCollection() override;
    void BeforeDestruction() override;

    TcxComponentCollectionItem* Add();
    TcxComponentCollectionItem* Insert(int index);
    void Delete(int index);
    void Remove(TcxComponentCollectionItem* item);
    void Clear();
    virtual void BeginUpdate() { ++updateCount_; }
    virtual void EndUpdate(bool forceUpdate = true);
    void Assign(TPersistent* source) override;
    TcxComponentCollectionItem* FindItemByID(int id) const;
    int Count() const { return static_cast<int>(items_.size()); }
    TcxComponentCollectionItem* Items(int index) const { return items_.at(index); }
    void SetItem(int index, TcxComponentCollectionItem* value) { Items(index)->Assign(value); }
    TComponent* ParentComponent() const { return parent_; }
    TPersistent* GetOwner() override { return parent_; }
    TcxComponentCollectionItemClass ItemClass() const { return itemClass_; }

    TcxComponentCollectionChangeEvent OnChange;

protected:
    friend class TcxComponentCollectionItem;
    virtual void Notify(TcxComponentCollectionItem* item, TcxComponentCollectionNotification action) {}
    virtual void SetItemName(TcxComponentCollectionItem* item) {}
    virtual void Update(TcxComponentCollectionItem* item, TcxComponentCollectionNotification action);
    void Changed(TcxComponentCollectionItem* item = nullptr, TcxComponentCollectionNotification action = ccnChanged);
    void InsertItem(TcxComponentCollectionItem* item);
    void RemoveItem(TcxComponentCollectionItem* item);
    void MoveItem(TcxComponentCollectionItem* item, int index);

private:
    TcxComponentCollectionItemClass itemClass_;
    std::vector<TcxComponentCollectionItem*> items_;
    int nextId_ = 0;
    TComponent* parent_;
    int updateCount_ = 0;
};

// --- events ------------------------------------------------------------------------------------------
using TcxEventHandler = Event<void(TObject* sender, void* args)>;

// Handlers called in the order added; safe against handlers that add or remove handlers while
// the calls run (see MulticastEvent).
class TcxEventHandlerCollection : public TObject {
    RTL_CLASS(TcxEventHandlerCollection, TObject)
    void Add(const TcxEventHandler& handler) { handlers_.Add(handler); }
    void Remove(const TcxEventHandler& handler) { handlers_.Remove(handler); }
    void Delete(int index) { handlers_.Delete(index); }
    int IndexOf(const TcxEventHandler& handler) const { return handlers_.IndexOf(handler); }
    int Count() const { return handlers_.Count(); }
    void CallEvents(TObject* sender, void* args) { handlers_.Call(sender, args); }

private:
    MulticastEvent<void(TObject*, void*)> handlers_;
};

using TcxFreeNotificationEvent = Event<void(TComponent* sender)>;

class TcxFreeNotificator : public TComponent {
    RTL_CLASS(TcxFreeNotificator, TComponent)
    explicit TcxFreeNotificator(TComponent* owner = nullptr) : TComponent(owner) {}
    void AddSender(TComponent* component);
    void RemoveSender(TComponent* component);
    TcxFreeNotificationEvent OnSenderFreed;

protected:
    void Notification(TComponent* component, TOperation operation) override;
};

template <class E>
void CallNotify(const E& event, TObject* sender)
{
    if (event.Assigned())
        event(sender);
}

template <class E>
bool EqualMethods(const E& m1, const E& m2)
{
    return m1 == m2;
}

// --- hashed string list (used by the storage media) -------------------------------------------
class TcxHashedStringList : public TStringList {
    RTL_CLASS(TcxHashedStringList, TStringList)
    int IndexOf(const std::string& s) const override;

protected:
    void Changed() override;
    void Changing() override;

private:
    mutable std::vector<Cardinal> hashes_;
    mutable bool hashesValid_ = false;
};

// --- class registries ----------------------------------------------------------------------------
// Maps a class to the class registered for it, found along the inheritance chain.
class TcxRegisteredClassList : public TObject {
    RTL_CLASS(TcxRegisteredClassList, TObject)
    struct Entry {
        const TClassMeta* itemClass;
        const TClassMeta* registeredClass;
    };
    ~TcxRegisteredClassList() override { Clear(); }
    virtual bool Find(const TClassMeta* itemClass, int& index) const;
    virtual void Register(const TClassMeta* itemClass, const TClassMeta* registeredClass);
    virtual void Unregister(const TClassMeta* itemClass, const TClassMeta* registeredClass);
    const TClassMeta* FindClass(const TClassMeta* itemClass) const;
    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& Items(int index) const { return entries_.at(index); }
    void Clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
};

// Classes with a "description|hint" text, optionally sorted by description.
class TcxRegisteredClasses : public TObject {
    RTL_CLASS(TcxRegisteredClasses, TObject)
    explicit TcxRegisteredClasses(bool registerClasses = false) : registerClasses_(registerClasses) {}
    ~TcxRegisteredClasses() override { Clear(); }
    void Register(const TClassMeta* cls, const std::string& description);
    void Unregister(const TClassMeta* cls);
    virtual void Sort();
    virtual int CompareItems(int index1, int index2) const;
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    const TClassMeta* FindByClassName(const std::string& className) const;
    const TClassMeta* FindByDescription(const std::string& description) const;
    int GetIndexByClass(const TClassMeta* cls) const;
    std::string GetDescriptionByClass(const TClassMeta* cls) const;
    std::string GetHintByClass(const TClassMeta* cls) const;
    int Count() const { return static_cast<int>(entries_.size()); }
    const TClassMeta* Items(int index) const { return entries_.at(index).cls; }
    std::string Descriptions(int index) const;
    std::string Hints(int index) const;
    void Clear() { entries_.clear(); }

private:
    struct Entry {
        std::string text;
        const TClassMeta* cls;
    };
    bool registerClasses_;
    std::vector<Entry> entries_;
    bool sorted_ = false;
};

// --- resource-string overrides -----------------------------------------------------------------
void cxSetResourceString(const TResStringRec* resString, const std::string& value);
void cxSetResourceStringNet(const std::string& defaultText, const std::string& value);
std::string cxGetResourceString(const TResStringRec* resString);
std::string cxGetResourceString(const std::string& text);
std::string cxGetResourceStringNet(const std::string& text);
void cxClearResourceStrings();

// --- component naming ----------------------------------------------------------------------------
std::string GetValidName(TComponent* component, const std::string& name, bool isBaseName = false);
std::string cxGenerateComponentName(TComponent* owner, const std::string& className,
                                    const std::string& prefixToCut, const std::string& baseName, int number);
std::string CreateUniqueName(TComponent* ownerForm, TComponent* ownerComponent, TComponent* component,
                             const std::string& prefixToCut, const std::string& baseName);
void RenameComponents(TComponent* caller, TComponent* owner, const std::string& newName, const std::string& oldName,
                      int count, const std::function<TComponent*(TComponent* caller, int index)>& getComponent);
inline TPersistent* GetPersistentOwner(TPersistent* p) { return p->GetOwner(); }
// The first published object property of the object's class (by name) whose declared class is
// exactly the subobject's class; empty when there is none.
std::string GetSubobjectName(TPersistent* object, TPersistent* subobject);
bool ClassInheritsFrom(const TClassMeta* cls, const std::string& className);
// Adds the non-empty caption of every value from minValue to maxValue, with the value as object.
void FillStringsWithEnumTypeValues(TStrings* strings, int minValue, int maxValue,
                                   const std::function<std::string(int)>& getTypeItemCaption);

// --- other procedures -------------------------------------------------------------------------------
std::string cxGetLocaleInfo(Cardinal locale, Cardinal infoType, const std::string& defaultValue);
int cxStrCharLength(const std::string& s, int index);   // 1-based index; UTF-8 character length
int cxNextCharPos(const std::string& s, int index);
int cxPrevCharPos(const std::string& s, int index);
int RoundDiv(int a, int b);   // EDivByZero for b = 0
int GetRangeCenter(int first, int last);
inline TSize Size(int cx, int cy) { return TSize{cx, cy}; }
inline void SwapIntegers(int& a, int& b) { std::swap(a, b); }
inline int cxSign(double x) { return x >= 0 ? 1 : -1; }
Byte HexToByte(const std::string& text);   // EConvertError unless the first two characters are hex digits
std::string GetCorrectPath(const std::string& path);
bool StreamsEqual(TMemoryStream* stream1, TMemoryStream* stream2);
void CopyList(TList* source, TList* dest);
bool OpenWebPage(const std::string& url);

// --- small utilities: most-recently-used list, two-axis alignment, width distribution ---------------

class TcxMRUItem : public TObject {
    RTL_CLASS(TcxMRUItem, TObject)
    // Whether the two items stand for the same entry.
    virtual bool Equals(TcxMRUItem* item) = 0;
};

// Items with the most recent first; MaxCount 0 means no limit.
class TcxMRUItems : public TObject {
    RTL_CLASS(TcxMRUItems, TObject)
    TcxMRUItems() = default;
    ~TcxMRUItems() override { ClearItems(); }
    void Add(TcxMRUItem* item);   // takes the item over (and frees it when an equal one is listed)
    int IndexOf(TcxMRUItem* item) const;
    void Delete(int index);
    void ClearItems();
    int Count() const { return static_cast<int>(items_.size()); }
    void SetCount(int value);   // a smaller count drops the oldest items
    TcxMRUItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    int MaxCount() const { return maxCount_; }
    void SetMaxCount(int value);

private:
    std::vector<TcxMRUItem*> items_;
    int maxCount_ = 0;
};

class TcxAlignment : public TPersistent {
    RTL_CLASS(TcxAlignment, TPersistent)
    explicit TcxAlignment(TPersistent* owner, bool useAssignedValues = false,
                          TAlignment defaultHorz = taLeftJustify, TcxAlignmentVert defaultVert = vaTop);
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override { return owner_; }

    TAlignment Horz() const { return horz_; }
    void SetHorz(TAlignment value);
    TcxAlignmentVert Vert() const { return vert_; }
    void SetVert(TcxAlignmentVert value);
    void Reset();
    // Whether the streaming system stores the value.
    bool IsHorzStored() const { return useAssignedValues_ ? isHorzAssigned_ : horz_ != defaultHorz_; }
    bool IsVertStored() const { return useAssignedValues_ ? isVertAssigned_ : vert_ != defaultVert_; }
    bool IsHorzAssigned() const { return isHorzAssigned_; }
    bool IsVertAssigned() const { return isVertAssigned_; }
    Event<void(TObject*)> OnChange;

private:
    void DoChanged() { CallEvent(OnChange, this); }
    TAlignment defaultHorz_;
    TcxAlignmentVert defaultVert_;
    TAlignment horz_;
    bool isHorzAssigned_ = false;
    bool isVertAssigned_ = false;
    TPersistent* owner_;
    bool useAssignedValues_;
    TcxAlignmentVert vert_;
};

class TcxAutoWidthItem : public TObject {
    RTL_CLASS(TcxAutoWidthItem, TObject)
    int MinWidth = 0;
    int Width = 0;
    bool Fixed = false;
    int AutoWidth = -1;
};

// Shares an available width among items in proportion to their wanted widths, respecting minimum
// widths and fixed items.
class TcxAutoWidthObject : public TObject {
    RTL_CLASS(TcxAutoWidthObject, TObject)
    explicit TcxAutoWidthObject(int capacity = 0) { items_.reserve(static_cast<std::size_t>(std::max(capacity, 0))); }
    ~TcxAutoWidthObject() override { Clear(); }
    TcxAutoWidthItem* AddItem();
    void Calculate();
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TcxAutoWidthItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    int Width() const;   // the sum of the wanted widths
    int AvailableWidth = 0;

private:
    std::vector<TcxAutoWidthItem*> items_;
};

// Thread hooks of the user-interface thread (call-window-procedure, get-message, mouse). SetHook
// wants an empty handle (EAssertionFailed otherwise); ReleaseHook ignores an empty one.
void SetHook(HHOOK& hookHandle, int hookId, vcl::HOOKPROC hookProc);
void ReleaseHook(HHOOK& hookHandle);
// The class name a window was registered with; empty for a dead or unknown handle.
std::string cxGetClassName(void* wnd);

namespace cxClassesUnit {
void Initialize();
void Finalize();   // frees the override lists and returns the override mode to none
} // namespace cxClassesUnit

} // namespace cx
