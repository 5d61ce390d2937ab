#pragma once
// An object tree for the storage tests: nodes with published properties of every kind the
// storage handles, children created by class name, and a temporary registry store.
#include <QSettings>
#include <QTemporaryDir>
#include <cmath>
#include <string>

#include "toolkit/core/cxStorage.h"

namespace storage_test {

using namespace cx;

enum TTestKind : int { tkAlpha, tkBeta, tkGamma };   // any int is a valid value

class TTestNode : public TComponent, public IcxStoredParent {
    RTL_CLASS(TTestNode, TComponent)
    explicit TTestNode(TComponent* owner) : TComponent(owner) { Register(); }

    const std::string& GetCaption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; }
    int GetCount() const { return count_; }
    void SetCount(int v) { count_ = v; }
    double GetRatio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    bool GetFlag() const { return flag_; }
    void SetFlag(bool v) { flag_ = v; }
    TTestKind GetKind() const { return kind_; }
    void SetKind(TTestKind v) { kind_ = v; }
    std::int64_t GetOptions() const { return options_; }
    void SetOptions(std::int64_t v) { options_ = v; }
    Variant GetWhen() const { return when_; }
    void SetWhen(Variant v) { when_ = v; }

    // IcxStoredParent: the owned nodes are the children.
    TObject* CreateChild(const std::string& objectName, const std::string& className) override
    {
        if (className != "TTestNode")
            return nullptr;
        auto* node = new TTestNode(this);
        node->SetName(objectName);
        return node;
    }
    void DeleteChild(const std::string&, TObject* object) override { FreeObject(object); }
    void GetStoredChildren(TStringList* children) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            children->AddObject(Components(i)->Name(), Components(i));
    }

    TTestNode* Child(const std::string& name) { return dynamic_cast<TTestNode*>(FindComponent(name)); }
    TTestNode* AddChild(const std::string& name)
    {
        auto* node = new TTestNode(this);
        node->SetName(name);
        return node;
    }

private:
    static void Register()
    {
        static bool done = false;
        if (done)
            return;
        done = true;
        std::vector<TPropInfo> props;
        props.push_back(PublishedProp<TTestNode>("Caption", tkLString, &TTestNode::GetCaption, &TTestNode::SetCaption));
        props.push_back(PublishedProp<TTestNode>("Count", tkInteger, &TTestNode::GetCount, &TTestNode::SetCount));
        props.push_back(PublishedProp<TTestNode>("Ratio", tkFloat, &TTestNode::GetRatio, &TTestNode::SetRatio));
        auto flag = PublishedProp<TTestNode>("Flag", tkEnumeration, &TTestNode::GetFlag, &TTestNode::SetFlag);
        flag.EnumNames = {"False", "True"};
        props.push_back(flag);
        auto kind = PublishedProp<TTestNode>("Kind", tkEnumeration, &TTestNode::GetKind, &TTestNode::SetKind);
        kind.EnumNames = {"tkAlpha", "tkBeta", "tkGamma"};
        props.push_back(kind);
        auto options = PublishedProp<TTestNode>("Options", tkSet, &TTestNode::GetOptions, &TTestNode::SetOptions);
        options.EnumNames = {"a", "b", "c"};
        options.SetSize = 1;
        props.push_back(options);
        props.push_back(PublishedProp<TTestNode>("When", tkVariant, &TTestNode::GetWhen, &TTestNode::SetWhen));
        TPropInfo onClick;
        onClick.Name = "OnClick";
        onClick.Kind = tkMethod;
        props.push_back(onClick);
        RegisterPublishedProperties(StaticClass(), std::move(props));
    }

    std::string caption_;
    int count_ = 0;
    double ratio_ = 0;
    bool flag_ = false;
    TTestKind kind_ = tkAlpha;
    std::int64_t options_ = 0;
    Variant when_;
};

// A three-level tree with texts that need coding in every medium.
inline TTestNode* MakeTree()
{
    auto* root = new TTestNode(nullptr);
    root->SetName("Grid1");
    root->SetCaption("say \"hi\"\r\nsecond line \\n literal");
    root->SetCount(-42);
    root->SetRatio(0.1 + 0.2);
    root->SetFlag(true);
    root->SetKind(tkGamma);
    root->SetOptions(0b101);
    root->SetWhen(Variant::FromDate(EncodeDate(2024, 2, 29) + EncodeTime(13, 45, 10, 0)));
    TTestNode* row1 = root->AddChild("Row1");
    row1->SetCaption("12");
    row1->SetCount(7);
    TTestNode* cell = row1->AddChild("Cell");
    cell->SetCaption("  leading and trailing  ");
    cell->SetRatio(-1.5e-7);
    TTestNode* row2 = root->AddChild("Row2");
    row2->SetKind(tkBeta);
    return root;
}

// Moves the emulated registry into a temporary folder for the life of the object.
class TempRegistry {
public:
    TempRegistry() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path()); }
    std::string Dir() const { return dir_.path().toStdString(); }

private:
    QTemporaryDir dir_;
};

} // namespace storage_test
