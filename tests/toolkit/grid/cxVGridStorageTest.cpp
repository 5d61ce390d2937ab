// Storing and restoring the vertical grid's layout through a stream and an INI file.
#include "tests/toolkit/grid/VGridPaintTestSupport.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include <QTemporaryDir>

#include "platform/rtl/Streams.h"

using namespace vgtest;

namespace {

class VGridStorageTest : public VGridPaintTest {
protected:
    std::string IniName() const { return dir.path().toStdString() + "/layout.ini"; }
    std::string ReadIni() const
    {
        std::ifstream f(IniName());
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    void WriteIni(const std::string& text) const { std::ofstream(IniName()) << text; }
    // Where the first "key=..." line of the INI text starts, and where it ends (its LF).
    static std::pair<std::size_t, std::size_t> FindIniLine(const std::string& text, const std::string& key)
    {
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = std::min(text.find('\n', at), text.size());
            if (text.compare(at, key.size() + 1, key + "=") == 0)
                return {at, end};
            at = end + 1;
        }
        return {std::string::npos, std::string::npos};
    }
    // Replaces the value of the first "key=..." line of the INI text.
    static std::string SetIniValue(const std::string& text, const std::string& key, const std::string& value)
    {
        const auto [at, end] = FindIniLine(text, key);
        if (at == std::string::npos)
            return text;
        return text.substr(0, at) + key + "=" + value + text.substr(end);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(VGridStorageTest, StreamRoundTripRestoresOrderWidthsAndState)
{
    auto* cat = AddCategory("Cat");
    auto* a = AddEditor("A", cat);
    auto* b = AddEditor("B", cat);
    auto* c = AddEditor("C");
    c->SetName("Named");
    b->SetHeight(30);
    grid->OptionsView()->SetRowHeaderWidth(80);
    TMemoryStream stream;
    grid->StoreToStream(&stream);
    EXPECT_EQ(a->GetObjectName(), std::to_string(a->RowID()));
    EXPECT_EQ(c->GetObjectName(), "Named");

    // Rearrange and change everything the layout holds.
    b->SetIndex(0);
    c->SetParent(cat);
    b->SetHeight(-1);
    cat->SetExpanded(false);
    grid->OptionsView()->SetRowHeaderWidth(60);
    grid->OptionsView()->SetPaintStyle(psDelphi);
    stream.SetPosition(0);
    grid->RestoreFromStream(&stream);
    EXPECT_EQ(cat->GetRow(0), a);
    EXPECT_EQ(cat->GetRow(1), b);
    EXPECT_EQ(c->ParentRow(), grid->Root());   // stored "AParentID" "-1": the top level again
    EXPECT_EQ(c->Index(), 1);
    EXPECT_EQ(b->Height(), 30);
    EXPECT_TRUE(cat->Expanded());
    EXPECT_EQ(grid->OptionsView()->RowHeaderWidth(), 80);
    EXPECT_EQ(grid->OptionsView()->PaintStyle(), psdotNet);
    EXPECT_EQ(grid->Rows()->GetCount(), 4);
}

TEST_F(VGridStorageTest, MissingCategoriesAreCreatedEditorsAreNot)
{
    AddCategory("Stored category");
    AddEditor("Stored editor");
    TMemoryStream stream;
    grid->StoreToStream(&stream);

    // A grid of the same name on another form, without the rows.
    auto* form2 = new TForm(nullptr);
    auto* other = new TcxVerticalGrid(form2);
    other->SetName("Grid");
    auto* taken = new TComponent(form2);
    taken->SetName("GridRuntimeCreatedRow");   // the plain name is taken: numbered
    stream.SetPosition(0);
    other->RestoreFromStream(&stream);
    ASSERT_EQ(other->Rows()->GetCount(), 1);
    auto* created = dynamic_cast<TcxCategoryRow*>(other->Rows()->GetRow(0));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->Name(), "GridRuntimeCreatedRow1");
    EXPECT_EQ(created->Properties()->GetCaption(), "Stored category");
    form2->Free();
}

TEST_F(VGridStorageTest, IniFileHeaderWidthIsLimitedAndCyclesAreRefused)
{
    auto* a = AddEditor("A");
    auto* b = AddEditor("B", a);
    a->SetName("RowA");
    b->SetName("RowB");
    grid->StoreToIniFile(IniName());
    std::string ini = ReadIni();
    ASSERT_NE(ini.find("HeaderWidth="), std::string::npos) << ini;
    ini = SetIniValue(ini, "HeaderWidth", "10");
    // RowA's parent becomes its own child: the restore must leave RowA where it is.
    const size_t rowA = ini.find("RowA:");
    ASSERT_NE(rowA, std::string::npos) << ini;
    ini = ini.substr(0, rowA) + SetIniValue(ini.substr(rowA), "AParentID", "RowB");
    WriteIni(ini);
    grid->RestoreFromIniFile(IniName());
    EXPECT_GE(grid->OptionsView()->RowHeaderWidth(), grid->OptionsView()->RowHeaderMinWidth());
    EXPECT_EQ(a->ParentRow(), grid->Root());
    EXPECT_EQ(b->ParentRow(), a);
}

TEST_F(VGridStorageTest, SourceWithoutNameModeAppliesIDsAtOnce)
{
    auto* a = AddEditor("A");
    auto* b = AddEditor("B");
    a->SetName("RowA");
    grid->StoreToIniFile(IniName());
    EXPECT_EQ(a->GetObjectName(), "RowA");
    // A source written without "NewLoad": parents and positions are row IDs.
    std::string ini = ReadIni();
    for (auto line = FindIniLine(ini, "NewLoad"); line.first != std::string::npos; line = FindIniLine(ini, "NewLoad"))
        ini.erase(line.first, line.second - line.first + 1);
    WriteIni(ini);
    grid->RestoreFromIniFile(IniName());
    EXPECT_FALSE(grid->NameMode);
    EXPECT_EQ(a->GetObjectName(), std::to_string(a->RowID()));
    EXPECT_EQ(b->GetObjectName(), std::to_string(b->RowID()));
    EXPECT_EQ(grid->Root()->GetRow(0), a);
}
