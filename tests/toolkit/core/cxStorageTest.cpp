#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "StorageTestSupport.h"
#include "platform/rtl/Locale.h"

using namespace cx;
using namespace storage_test;

namespace {

enum class Medium { Ini, Registry, Stream };

struct Media {
    QTemporaryDir dir;
    TempRegistry registry;
    TMemoryStream stream;
    std::string IniName() const { return dir.path().toStdString() + "/layout.ini"; }

    void Store(Medium m, TObject* object, bool reCreate = true)
    {
        TcxStorage storage(m == Medium::Ini ? IniName() : std::string("Software\\Test\\Layout"), &stream);
        storage.ReCreate = reCreate;
        if (m == Medium::Stream) {
            stream.Clear();
            storage.StoreToStream(object);
        } else if (m == Medium::Ini)
            storage.StoreToIni(object);
        else
            storage.StoreToRegistry(object);
    }
    void Restore(Medium m, TObject* object, TcxStorageModes modes = {})
    {
        TcxStorage storage(m == Medium::Ini ? IniName() : std::string("Software\\Test\\Layout"), &stream);
        storage.Modes = modes;
        stream.SetPosition(0);
        if (m == Medium::Stream)
            storage.RestoreFromStream(object);
        else if (m == Medium::Ini)
            storage.RestoreFromIni(object);
        else
            storage.RestoreFromRegistry(object);
    }
};

class StorageMediaTest : public ::testing::TestWithParam<Medium> {};

void ExpectSameTree(TTestNode* a, TTestNode* b)
{
    EXPECT_EQ(a->GetCaption(), b->GetCaption()) << a->Name();
    EXPECT_EQ(a->GetCount(), b->GetCount()) << a->Name();
    EXPECT_DOUBLE_EQ(a->GetRatio(), b->GetRatio()) << a->Name();
    EXPECT_EQ(a->GetFlag(), b->GetFlag());
    EXPECT_EQ(a->GetKind(), b->GetKind());
    EXPECT_EQ(a->GetOptions(), b->GetOptions());
    if (!a->GetWhen().IsEmpty()) {
        EXPECT_DOUBLE_EQ(a->GetWhen().ToDouble(), b->GetWhen().ToDouble());
    }
    ASSERT_EQ(a->ComponentCount(), b->ComponentCount()) << a->Name();
    for (int i = 0; i < a->ComponentCount(); ++i) {
        EXPECT_EQ(a->Components(i)->Name(), b->Components(i)->Name());
        ExpectSameTree(static_cast<TTestNode*>(a->Components(i)), static_cast<TTestNode*>(b->Components(i)));
    }
}

} // namespace

TEST_P(StorageMediaTest, ObjectTreeRoundTripsWithCreatedChildren)
{
    Media media;
    UniqueObject<TTestNode> tree(MakeTree());
    media.Store(GetParam(), tree.get());

    UniqueObject<TTestNode> copy(new TTestNode(nullptr));
    copy->SetName("Grid1");
    media.Restore(GetParam(), copy.get(), {smChildrenCreating});
    ExpectSameTree(tree.get(), copy.get());
    ASSERT_NE(copy->Child("Row1"), nullptr);
    EXPECT_EQ(copy->Child("Row1")->Child("Cell")->GetCaption(), "  leading and trailing  ");
}

TEST_P(StorageMediaTest, ExistingChildrenMatchWithoutCaseAndUnknownOnesNeedTheCreatingMode)
{
    Media media;
    UniqueObject<TTestNode> tree(MakeTree());
    media.Store(GetParam(), tree.get());

    UniqueObject<TTestNode> copy(new TTestNode(nullptr));
    copy->SetName("Grid1");
    // The INI file and the registry find names without regard to case, a stream by exact names.
    TTestNode* row1 = copy->AddChild(GetParam() == Medium::Stream ? "Row1" : "ROW1");
    TTestNode* extra = copy->AddChild("Extra");
    media.Restore(GetParam(), copy.get());
    EXPECT_EQ(row1->GetCount(), 7);
    EXPECT_EQ(copy->ComponentCount(), 2);   // no Row2 created, Extra kept
    EXPECT_EQ(copy->Child("Extra"), extra);

    media.Restore(GetParam(), copy.get(), {smChildrenCreating, smChildrenDeleting});
    EXPECT_EQ(copy->Child("Extra"), nullptr);
    ASSERT_NE(copy->Child("Row2"), nullptr);
    EXPECT_EQ(copy->Child("Row2")->GetKind(), tkBeta);
}

TEST_P(StorageMediaTest, MissingStorageRestoresNothing)
{
    Media media;
    UniqueObject<TTestNode> node(new TTestNode(nullptr));
    node->SetName("Grid1");
    node->SetCount(5);
    media.Restore(GetParam(), node.get(), {smChildrenCreating});
    EXPECT_EQ(node->GetCount(), 5);
    EXPECT_EQ(node->ComponentCount(), 0);
}

// A stream is always written whole; the INI file and the registry keep what they held unless
// the re-create flag is set.
class StorageReCreateTest : public StorageMediaTest {};

TEST_P(StorageReCreateTest, ReCreateDropsObjectsThatNoLongerExist)
{
    Media media;
    UniqueObject<TTestNode> tree(MakeTree());
    media.Store(GetParam(), tree.get());
    tree->Child("Row2")->Free();
    media.Store(GetParam(), tree.get(), false);

    UniqueObject<TTestNode> copy(new TTestNode(nullptr));
    copy->SetName("Grid1");
    media.Restore(GetParam(), copy.get(), {smChildrenCreating});
    EXPECT_NE(copy->Child("Row2"), nullptr);   // kept without re-create

    media.Store(GetParam(), tree.get(), true);
    UniqueObject<TTestNode> again(new TTestNode(nullptr));
    again->SetName("Grid1");
    media.Restore(GetParam(), again.get(), {smChildrenCreating});
    EXPECT_EQ(again->Child("Row2"), nullptr);
    EXPECT_NE(again->Child("Row1"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Media, StorageReCreateTest, ::testing::Values(Medium::Ini, Medium::Registry),
                         [](const auto& info) { return std::string(info.param == Medium::Ini ? "Ini" : "Registry"); });
INSTANTIATE_TEST_SUITE_P(Media, StorageMediaTest, ::testing::Values(Medium::Ini, Medium::Registry, Medium::Stream),
                         [](const auto& info) {
                             return std::string(info.param == Medium::Ini ? "Ini"
                                                : info.param == Medium::Registry ? "Registry" : "Stream");
                         });

// --- what the writers see -----------------------------------------------------------------------
namespace {
class TRecordingWriter : public TcxCustomWriter {
public:
    TRecordingWriter() : TcxCustomWriter("", nullptr, true) {}
    void BeginWriteObject(const std::string& n, const std::string& c) override { Log += "<" + n + ":" + c + ">"; }
    void EndWriteObject(const std::string& n, const std::string&) override { Log += "</" + n + ">"; }
    void WriteProperty(const std::string&, const std::string&, const std::string& p, const Variant& v) override
    {
        Log += p + "=" + VarToStr(v) + ";";
    }
    void EndWrite() override { Log += "|end"; }
    std::string Log;
};

} // namespace

TEST(CxStorage, WalksDepthFirstSkipsEventsAndEmptyValuesAndSpellsBooleans)
{
    UniqueObject<TTestNode> root(new TTestNode(nullptr));
    root->SetName("R");
    root->SetFlag(true);
    root->AddChild("A")->AddChild("B");
    TRecordingWriter writer;
    TcxStorage storage("");
    storage.NamePrefix = "";
    storage.StoreWithExistingWriter(root.get(), &writer);
    EXPECT_EQ(writer.Log,
              "<R:TTestNode>Caption=;Count=0;Ratio=0;Flag=True;Kind=tkAlpha;Options=[];"
              "<R/A:TTestNode>Caption=;Count=0;Ratio=0;Flag=False;Kind=tkAlpha;Options=[];"
              "<R/A/B:TTestNode>Caption=;Count=0;Ratio=0;Flag=False;Kind=tkAlpha;Options=[];</R/A/B></R/A></R>|end");
}

TEST(CxStorage, NamePrefixAndEndWriteOnFailure)
{
    UniqueObject<TTestNode> root(new TTestNode(nullptr));
    root->SetName("R");
    root->SetKind(static_cast<TTestKind>(7));   // no name for it: the conversion fails
    TRecordingWriter writer;
    TcxStorage storage("");
    storage.NamePrefix = "Form1";
    EXPECT_THROW(storage.StoreWithExistingWriter(root.get(), &writer), EPropertyConvertError);
    EXPECT_EQ(writer.Log, "<Form1.R:TTestNode>Caption=;Count=0;Ratio=0;Flag=False;|end");
}

// --- conversions --------------------------------------------------------------------------------
TEST(CxStorage, SetAndEnumerationTexts)
{
    std::vector<std::string> abc = {"a", "b", "c"};
    std::uint32_t set = 0b101;
    EXPECT_EQ(SetToString(&set, 1, abc), "[a,c]");
    set = 0;
    EXPECT_EQ(SetToString(&set, 1, abc), "[]");
    set = 1u << 5;
    EXPECT_THROW(SetToString(&set, 1, abc), EPropertyConvertError);
    set = 1u << 9;   // beyond a one-byte set: ignored
    EXPECT_EQ(SetToString(&set, 1, abc), "[]");

    std::uint32_t out = 0xFFFFFFFF;
    StringToSet("[a, c]", &out, 4, abc);
    EXPECT_EQ(out, 1u);
    StringToSet("[A,c,]", &out, 4, abc);
    EXPECT_EQ(out, 5u);
    EXPECT_THROW(StringToSet("a,c", &out, 4, abc), EPropertyConvertError);
    EXPECT_THROW(StringToSet("", &out, 4, abc), EPropertyConvertError);

    EXPECT_EQ(EnumerationToString(1, abc), "b");
    EXPECT_THROW(EnumerationToString(3, abc), EPropertyConvertError);
    EXPECT_THROW(EnumerationToString(-1, abc), EPropertyConvertError);
    EXPECT_EQ(StringToEnumeration("C", abc), 2);
    EXPECT_THROW(StringToEnumeration("d", abc), EPropertyConvertError);
    EXPECT_TRUE(StringToBoolean("true"));
    EXPECT_FALSE(StringToBoolean("FALSE"));
    EXPECT_THROW(StringToBoolean("yes"), EPropertyConvertError);
}

TEST(CxStorage, StreamTexts)
{
    struct Case {
        const char* text;
        std::vector<Byte> bytes;
    } cases[] = {{"Hex:4", {}}, {"Hex:41", {0x41}}, {"XYZW4142", {0x41, 0x42}}, {"", {}}};
    for (const auto& c : cases) {
        TMemoryStream s;
        StringToStream(c.text, &s);
        EXPECT_EQ(s.Bytes(), c.bytes) << c.text;
    }
    TMemoryStream s(std::vector<Byte>{0x41, 0x0A});
    s.SetPosition(2);
    EXPECT_EQ(StreamToString(&s), "Hex:410A");
    TMemoryStream empty;
    EXPECT_EQ(StreamToString(&empty), "");
    EXPECT_EQ(StreamToString(nullptr), "");
}

// --- INI medium details -------------------------------------------------------------------------
TEST(CxStorageIni, ValuesReadBackByTheirTextAndLineBreaksNeedVersionOne)
{
    QTemporaryDir dir;
    std::string name = dir.path().toStdString() + "/v.ini";
    {
        std::ofstream f(name, std::ios::binary);
        f << "[Main]\r\nVersion=1\r\n[G: TX]\r\nI=12\r\nD=1.5\r\nQ=\"12\"\r\nL=\"a \\nb\\\\nc\"\r\nBig=5000000000\r\nT=plain\r\n";
    }
    TcxIniFileReader reader(name, nullptr);
    ASSERT_TRUE(reader.CanRead());
    reader.BeginRead();
    EXPECT_EQ(reader.ReadProperty("G", "TX", "I").VType(), varInteger);
    EXPECT_EQ(reader.ReadProperty("G", "TX", "D").VType(), varDouble);
    EXPECT_EQ(reader.ReadProperty("G", "TX", "Q").VType(), varString);
    EXPECT_EQ(reader.ReadProperty("G", "TX", "Q").ToString(), "12");
    EXPECT_EQ(reader.ReadProperty("G", "TX", "L").ToString(), "a\r\nb\\nc");
    EXPECT_EQ(reader.ReadProperty("G", "TX", "Big").ToInt64(), 5000000000LL);
    EXPECT_EQ(reader.ReadProperty("G", "TX", "T").ToString(), "plain");

    std::ofstream(name, std::ios::binary) << "[G: TX]\r\nL=\"a \\nb\"\r\n";
    TcxIniFileReader old(name, nullptr);
    old.BeginRead();
    EXPECT_EQ(old.ReadProperty("G", "TX", "L").ToString(), "a \\nb");
}

TEST(CxStorageIni, SectionsNameObjectsAndLoneLineFeedsStayOnOneLine)
{
    QTemporaryDir dir;
    std::string name = dir.path().toStdString() + "/s.ini";
    {
        TcxIniFileWriter writer(name, nullptr, true);
        writer.BeginWrite();
        writer.BeginWriteObject("Grid1", "TcxVerticalGrid");
        writer.BeginWriteObject("Grid1/Row1", "TcxEditorRow");
        writer.WriteProperty("Grid1/Row1", "TcxEditorRow", "Text", Variant("a\nb"));
        writer.WriteProperty("Grid1/Row1", "TcxEditorRow", "Flag", Variant(true));
        writer.EndWrite();
    }
    std::ifstream f(name, std::ios::binary);
    std::stringstream text;
    text << f.rdbuf();
    EXPECT_NE(text.str().find("[Grid1/Row1: TcxEditorRow]\r\n=\r\nText=\"a \\nb\"\r\nFlag=\"True\"\r\n"), std::string::npos)
        << text.str();

    TcxIniFileReader reader(name, nullptr);
    reader.BeginRead();
    TStringList names, classes;
    reader.ReadChildren("GRID1", "", &names, &classes);
    ASSERT_EQ(names.Count(), 1);
    EXPECT_EQ(names[0], "Row1");
    EXPECT_EQ(classes[0], "TcxEditorRow");
}

// --- stream medium details ----------------------------------------------------------------------
TEST(CxStorageStream, ChildBeforeRootIsDroppedAndPathsSkipUnknownSegments)
{
    TMemoryStream stream;
    {
        TcxStreamWriter writer("", &stream, true);
        writer.BeginWriteObject("R/Lost", "TX");
        writer.WriteProperty("R/Lost", "TX", "P", Variant(1));
        writer.BeginWriteObject("R", "TRoot");
        writer.WriteProperty("R", "TRoot", "P", Variant(2));
        writer.WriteProperty("R", "TRoot", "Arr", VarArrayOf({Variant(1)}));   // no stream form: skipped
        writer.BeginWriteObject("R/A", "TA");
        writer.BeginWriteObject("R/A/B", "TB");
        writer.WriteProperty("R/A/B", "TB", "W", Variant(std::u16string_view(u"wide")));
        writer.WriteProperty("R/A/B", "TB", "Big", Variant(std::int64_t(1) << 40));
        writer.EndWrite();
    }
    TcxStreamReader reader("", &stream);
    stream.SetPosition(0);
    ASSERT_TRUE(reader.CanRead());
    reader.BeginRead();
    TStringList props;
    reader.ReadProperties("R", "", &props);
    ASSERT_EQ(props.Count(), 1);
    EXPECT_EQ(reader.ReadProperty("R", "", "P").ToInteger(), 2);
    EXPECT_EQ(reader.ReadProperty("R/X/A/B", "", "W").VType(), varOleStr);   // unknown middle segment
    EXPECT_EQ(reader.ReadProperty("R/A/B", "", "Big").ToInt64(), std::int64_t(1) << 40);
    EXPECT_TRUE(reader.ReadProperty("R/Lost", "", "P").IsEmpty());
}

TEST(CxStorageStream, DamagedStreamsFailCleanly)
{
    UniqueObject<TTestNode> tree(MakeTree());
    TMemoryStream stream;
    TcxStorage(&stream).StoreToStream(tree.get());
    std::vector<Byte> bytes = stream.Bytes();
    for (std::size_t cut : {bytes.size() / 2, bytes.size() - 1}) {
        TMemoryStream damaged(std::vector<Byte>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        UniqueObject<TTestNode> copy(new TTestNode(nullptr));
        copy->SetName("Grid1");
        TcxStorage storage(&damaged);
        EXPECT_THROW(storage.RestoreFromStream(copy.get()), EReadError);
    }
    TMemoryStream empty;
    UniqueObject<TTestNode> copy(new TTestNode(nullptr));
    TcxStorage(&empty).RestoreFromStream(copy.get());   // nothing to read: no error
}

// --- collections and component references -------------------------------------------------------
namespace {
class TTestItem : public TCollectionItem {
    RTL_CLASS(TTestItem, TCollectionItem)
    explicit TTestItem(TCollection* collection) : TCollectionItem(collection)
    {
        static bool done = false;
        if (!done) {
            done = true;
            RegisterPublishedProperties(StaticClass(), {PublishedProp<TTestItem>("Width", tkInteger, &TTestItem::GetWidth,
                                                                                 &TTestItem::SetWidth)});
        }
    }
    int GetWidth() const { return width_; }
    void SetWidth(int v) { width_ = v; }

private:
    int width_ = 0;
};

class TTestHolder : public TComponent {
    RTL_CLASS(TTestHolder, TComponent)
    explicit TTestHolder(TComponent* owner)
        : TComponent(owner), items_(new TCollection(TCollectionItemClass::Of<TTestItem>()))
    {
        static bool done = false;
        if (!done) {
            done = true;
            RegisterPublishedProperties(StaticClass(), {
                PublishedObjectProp<TTestHolder>("Items", &TTestHolder::Items),
                PublishedObjectProp<TTestHolder>("Link", &TTestHolder::Link, &TTestHolder::SetLink),
            });
        }
    }
    TCollection* Items() const { return items_.get(); }
    TComponent* Link() const { return link_; }
    void SetLink(TComponent* v) { link_ = v; }

private:
    UniqueObject<TCollection> items_;
    TComponent* link_ = nullptr;
};
} // namespace

TEST(CxStorage, CollectionItemsAreCreatedOnlyInTheCreatingMode)
{
    TMemoryStream stream;
    UniqueObject<TTestHolder> source(new TTestHolder(nullptr));
    source->SetName("Holder");
    static_cast<TTestItem*>(source->Items()->Add())->SetWidth(10);
    static_cast<TTestItem*>(source->Items()->Add())->SetWidth(20);
    TcxStorage store(&stream);
    store.Modes = {smSavePublishedClassProperties};
    store.StoreToStream(source.get());

    for (bool creating : {false, true}) {
        UniqueObject<TTestHolder> copy(new TTestHolder(nullptr));
        copy->SetName("Holder");
        stream.SetPosition(0);
        TcxStorage restore(&stream);
        restore.Modes = {smSavePublishedClassProperties};
        if (creating)
            restore.Modes.Include(smChildrenCreating);
        restore.RestoreFromStream(copy.get());
        ASSERT_EQ(copy->Items()->Count(), creating ? 2 : 0);
        if (creating) {
            EXPECT_EQ(static_cast<TTestItem*>(copy->Items()->Items(1))->GetWidth(), 20);
        }
    }
}

TEST(CxStorage, ComponentReferencesByName)
{
    UniqueObject<TComponent> form(new TComponent(nullptr));
    auto* target = new TComponent(form.get());
    target->SetName("Target");
    UniqueObject<TTestHolder> holder(new TTestHolder(nullptr));
    holder->SetName("Holder");
    holder->SetLink(target);
    TMemoryStream stream;
    TcxStorage store(&stream);
    store.SaveComponentsByName = true;
    store.StoreToStream(holder.get());

    auto restore = [&](TComponent* found) {
        UniqueObject<TTestHolder> copy(new TTestHolder(nullptr));
        copy->SetName("Holder");
        TComponent old(nullptr);
        copy->SetLink(&old);
        stream.SetPosition(0);
        TcxStorage storage(&stream);
        storage.SaveComponentsByName = true;
        storage.OnGetComponentByName = [&](const std::string& name) { return name == "Target" ? found : nullptr; };
        storage.RestoreFromStream(copy.get());
        return copy->Link() == &old ? nullptr : copy->Link();
    };
    EXPECT_EQ(restore(target), target);
    EXPECT_EQ(restore(nullptr), nullptr);   // an unknown name keeps the old value
}

namespace {

// What the registry store holds on disk (the one file under the temporary settings folder).
std::string RegistryFileText(const TempRegistry& registry)
{
    std::string text;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(registry.Dir()))
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            text += std::string(std::istreambuf_iterator<char>(in), {});
        }
    return text;
}

} // namespace

// The registry store keeps its writes in memory while it walks the objects and writes them to
// disk once, when the store is done: the file holds the whole layout as soon as the store returns,
// a re-created store included.
TEST(RegistryStore, IsOnDiskWhenTheStoreReturns)
{
    Media media;
    UniqueObject<TTestNode> tree(MakeTree());
    media.Store(Medium::Registry, tree.get());
    std::string text = RegistryFileText(media.registry);
    EXPECT_NE(text.find("k_Row1"), std::string::npos);
    EXPECT_NE(text.find("k_Row2"), std::string::npos);
    EXPECT_NE(text.find("leading and trailing"), std::string::npos);
    tree->Child("Row2")->Free();
    media.Store(Medium::Registry, tree.get(), true);
    text = RegistryFileText(media.registry);
    EXPECT_NE(text.find("k_Row1"), std::string::npos);
    EXPECT_EQ(text.find("k_Row2"), std::string::npos);
}
