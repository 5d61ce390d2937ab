#pragma once
// Kept keys: which records had their details expanded and which were selected, remembered by
// record key while a provider-mode controller reloads, and put back afterwards.
#include "toolkit/data/cxCustomData.h"

namespace cx {

class TcxKeyInfo : public TObject {
    RTL_CLASS(TcxKeyInfo, TObject)
    Variant Key;
};

class TcxSelectedKeyInfo : public TcxKeyInfo {
    RTL_CLASS(TcxSelectedKeyInfo, TcxKeyInfo)
    int SelectionIndex = -1;
};

class TcxDetailKeyInfo : public TcxKeyInfo {
    RTL_CLASS(TcxDetailKeyInfo, TcxKeyInfo)
    int ActiveRelationIndex = -1;
    TcxSaveObject* SaveObject = nullptr;   // owned
};

class TcxKeys : public TObject {
    RTL_CLASS(TcxKeys, TObject)
    ~TcxKeys() override;
    virtual void ApplyKeys() {}
    virtual void CollectKeys() {}
    virtual void FreeKeyInfo(TcxKeyInfo* keyInfo) { FreeObject(keyInfo); }
    void ClearKeys();
    void InitKeyFields(TcxCustomDataController* controller);
    void SaveState(TcxCustomDataController* controller);
    void RestoreState(TcxCustomDataController* controller);
    bool FindRecordKey(int recordIndex, int& keyIndex);
    void DeleteKey(int keyIndex);
    int Count() const { return static_cast<int>(keys_.size()); }
    TcxKeyInfo* Keys(int index) const { return keys_.at(index); }

protected:
    TcxCustomDataController* controller_ = nullptr;
    TList keyFields_;
    std::vector<TcxKeyInfo*> keys_;
};

class TcxDetailKeys : public TcxKeys {
    RTL_CLASS(TcxDetailKeys, TcxKeys)
    void ApplyKeys() override;
    void CollectKeys() override;
    void FreeKeyInfo(TcxKeyInfo* keyInfo) override;
};

class TcxSelectedKeys : public TcxKeys {
    RTL_CLASS(TcxSelectedKeys, TcxKeys)
    void ApplyKeys() override;
    void CollectKeys() override;
};

class TcxSaveObject : public TObject {
    RTL_CLASS(TcxSaveObject, TObject)
    ~TcxSaveObject() override;
    void SaveState(TcxCustomDataController* controller);
    void RestoreState(TcxCustomDataController* controller);
    TcxDetailKeys* DetailKeys = new TcxDetailKeys();
    TcxSelectedKeys* SelectedKeys = new TcxSelectedKeys();
};

} // namespace cx
