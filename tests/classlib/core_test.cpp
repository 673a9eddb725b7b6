// Components, published properties by name and stored form descriptions.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Classes.h"
#include "FormReader.h"
#include "Graphics.h"

namespace {

std::vector<std::string>* loadedLog = nullptr;

enum TFlavour { flPlain, flSalty, flSweet };
const TEnumNames FlavourNames{{{"flPlain", flPlain}, {"flSalty", flSalty}, {"flSweet", flSweet}}};

class TPart : public TCollectionItem {
    CLASS_INFO(TPart)
public:
    using TCollectionItem::TCollectionItem;
    int Width = 0;
    std::string Text;
};

const TClassInfo& TPart::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TPart>("TPart", &TCollectionItem::StaticClassInfo(), [](TClassBuilder<TPart>& b) {
        b.Int("Width", [](TPart& p) -> int64_t { return p.Width; }, [](TPart& p, int64_t v) { p.Width = static_cast<int>(v); });
        b.Str("Text", [](TPart& p) { return p.Text; }, [](TPart& p, const std::string& v) { p.Text = v; });
    });
    return info;
}

class TGadget : public TComponent {
    CLASS_INFO(TGadget)
public:
    explicit TGadget(TComponent* owner)
        : TComponent(owner), Parts([](TCollection* c) { return std::make_unique<TPart>(c); }) {}
    int Count = 0;
    bool Shiny = false;
    TFlavour Flavour = flPlain;
    int64_t Toppings = 0;
    std::string Caption;
    TStringList Lines;
    TFont Font;
    TCollection Parts;
    TBytes Blob;
    TGadget* Buddy = nullptr;
    TComponent* Container = nullptr;
    TNotifyEvent OnPoke;
    std::function<void(TObject*, int&)> OnCount;

    void SetParentComponent(TComponent* parent) override { Container = parent; }
    void Loaded() override {
        TComponent::Loaded();
        if (loadedLog) loadedLog->push_back(Name());
    }

protected:
    void Notification(TComponent* c, TOperation op) override {
        if (op == TOperation::opRemove && c == Buddy) Buddy = nullptr;
    }
};

const TEnumNames ToppingNames{{{"tpNuts", 0}, {"tpCream", 1}, {"tpFruit", 2}}};

const TClassInfo& TGadget::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TGadget>("TGadget", &TComponent::StaticClassInfo(), [](TClassBuilder<TGadget>& b) {
        b.Creatable();
        b.Int("Count", [](TGadget& g) -> int64_t { return g.Count; }, [](TGadget& g, int64_t v) { g.Count = static_cast<int>(v); }, &ColorIdents);
        b.Bool("Shiny", [](TGadget& g) { return g.Shiny; }, [](TGadget& g, bool v) { g.Shiny = v; });
        b.Enum("Flavour", FlavourNames, [](TGadget& g) -> int64_t { return g.Flavour; }, [](TGadget& g, int64_t v) { g.Flavour = static_cast<TFlavour>(v); });
        b.Set("Toppings", ToppingNames, [](TGadget& g) { return g.Toppings; }, [](TGadget& g, int64_t v) { g.Toppings = v; });
        b.Str("Caption", [](TGadget& g) { return g.Caption; }, [](TGadget& g, const std::string& v) { g.Caption = v; });
        b.Object("Lines", [](TGadget& g) -> TObject* { return &g.Lines; });
        b.Object("Font", [](TGadget& g) -> TObject* { return &g.Font; });
        b.Object("Parts", [](TGadget& g) -> TObject* { return &g.Parts; });
        b.Binary("Blob", [](TGadget& g) { return g.Blob; }, [](TGadget& g, const TBytes& v) { g.Blob = v; });
        b.Reference<TGadget>("Buddy", [](TGadget& g) { return g.Buddy; }, [](TGadget& g, TGadget* v) {
            g.Buddy = v;
            if (v) g.FreeNotification(v);
        });
        b.Event("OnPoke", &TGadget::OnPoke);
        b.Event("OnCount", &TGadget::OnCount);
    });
    return info;
}

class TBench : public TComponent {
    CLASS_INFO(TBench)
public:
    explicit TBench(TComponent* owner = nullptr) : TComponent(owner) {}
    TGadget* First = nullptr;
    TGadget* Second = nullptr;
    std::vector<std::string> pokes;
    void FirstPoke(TObject* sender) { pokes.push_back(static_cast<TComponent*>(sender)->Name()); }
    void CountUp(TObject*, int& n) { n += 10; }
    void Loaded() override {
        TComponent::Loaded();
        if (loadedLog) loadedLog->push_back(Name());
    }
};

const TClassInfo& TBench::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TBench>("TBench", &TComponent::StaticClassInfo(), [](TClassBuilder<TBench>& b) {
        b.Field("First", &TBench::First);
        b.Field("Second", &TBench::Second);
        b.Handler("FirstPoke", &TBench::FirstPoke);
        b.Handler("CountUp", &TBench::CountUp);
    });
    return info;
}

const char* const kBench = u8R"(object Bench: TBench
  object First: TGadget
    Count = 7
    Shiny = True
    Flavour = flSweet
    Toppings = [tpNuts, tpFruit]
    Caption = '中文 ''quoted'' '#65#66 +
      'next line'
    Lines.Strings = (
      '用嘴对着麦克风讲话即可输入.'
      'second')
    Font.Name = '宋体'
    Font.Height = -13
    Font.Color = clRed
    Font.Charset = GB2312_CHARSET
    Parts = <
      item
        Width = 130
        Text = '语音输入：已开始'
      end
      item
        Width = 20
      end>
    Blob = {0001FF7f}
    Buddy = Second
    OnPoke = FirstPoke
    OnCount = CountUp
    object Inner: TGadget
      Count = clMoneyGreen
    end
  end
  object Second: TGadget
    Tag = 42
    OnPoke = FirstPoke
  end
end
)";

std::unique_ptr<TBench> loadBench(const std::string& text) {
    TBench::StaticClassInfo();
    TGadget::StaticClassInfo();
    auto bench = std::make_unique<TBench>();
    ReadComponentDescription(*bench, dfm::Parse(text));
    return bench;
}

std::string readError(const std::string& text) {
    try {
        loadBench(text);
    } catch (const EReadError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST(FormReader_Load, ComponentsPropertiesAndBindings) {
    auto bench = loadBench(kBench);
    ASSERT_NE(nullptr, bench->First);
    ASSERT_NE(nullptr, bench->Second);
    EXPECT_EQ("Bench", bench->Name());
    EXPECT_EQ(3, bench->ComponentCount());
    TGadget& g = *bench->First;
    EXPECT_EQ(bench.get(), g.Owner());
    EXPECT_EQ(7, g.Count);
    EXPECT_TRUE(g.Shiny);
    EXPECT_EQ(flSweet, g.Flavour);
    EXPECT_EQ((1 << 0) | (1 << 2), g.Toppings);
    EXPECT_EQ(std::string("中文 'quoted' ABnext line"), g.Caption);  // GBK
    ASSERT_EQ(2, g.Lines.Count());
    EXPECT_EQ(std::string("用嘴对着麦克风讲话即可输入."), g.Lines[0]);
    EXPECT_EQ(std::string("宋体"), g.Font.Name());
    EXPECT_EQ(-13, g.Font.Height());
    EXPECT_EQ(clRed, g.Font.Color());
    EXPECT_EQ(GB2312_CHARSET, g.Font.Charset());
    ASSERT_EQ(2, g.Parts.Count());
    EXPECT_EQ(130, static_cast<TPart*>(g.Parts.Items(0))->Width);
    EXPECT_EQ(std::string("语音输入：已开始"), static_cast<TPart*>(g.Parts.Items(0))->Text);
    EXPECT_EQ((TBytes{0x00, 0x01, 0xFF, 0x7F}), g.Blob);
    EXPECT_EQ(bench->Second, g.Buddy);
    EXPECT_EQ(42, bench->Second->Tag());

    // Nested objects are owned by the root and placed in their enclosing object.
    auto* inner = dynamic_cast<TGadget*>(bench->FindComponent("inner"));
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(bench.get(), inner->Owner());
    EXPECT_EQ(&g, inner->Container);
    EXPECT_EQ(bench.get(), g.Container);
    EXPECT_EQ(clMoneyGreen, inner->Count);

    // Handlers are bound by name to the root's methods.
    ASSERT_TRUE(g.OnPoke);
    g.OnPoke(&g);
    bench->Second->OnPoke(bench->Second);
    EXPECT_EQ((std::vector<std::string>{"First", "Second"}), bench->pokes);
    int n = 1;
    g.OnCount(&g, n);
    EXPECT_EQ(11, n);
}

TEST(FormReader_Load, LoadedRunsOnEveryComponentAfterReadingInStoredOrder) {
    std::vector<std::string> log;
    loadedLog = &log;
    auto bench = loadBench(kBench);
    loadedLog = nullptr;
    EXPECT_EQ((std::vector<std::string>{"Bench", "First", "Inner", "Second"}), log);
    EXPECT_FALSE(bench->First->IsLoading());
}

TEST(FormReader_Refuse, UnknownClassPropertyValueOrHandler) {
    EXPECT_NE(std::string::npos, readError("object Bench: TBench\n object First: TNoSuch\n end\nend").find("TNoSuch"));
    std::string e = readError("object Bench: TBench\n object First: TGadget\n  Colour = 3\n end\n object Second: TGadget\n end\nend");
    EXPECT_NE(std::string::npos, e.find("Colour")) << e;
    EXPECT_NE(std::string::npos, e.find("line 3")) << e;
    e = readError("object Bench: TBench\n object First: TGadget\n  Flavour = flBitter\n end\n object Second: TGadget\n end\nend");
    EXPECT_NE(std::string::npos, e.find("Flavour")) << e;
    e = readError("object Bench: TBench\n object First: TGadget\n  OnPoke = NoHandler\n end\n object Second: TGadget\n end\nend");
    EXPECT_NE(std::string::npos, e.find("NoHandler")) << e;
    e = readError("object Bench: TBench\n object First: TGadget\n  Buddy = Nobody\n end\n object Second: TGadget\n end\nend");
    EXPECT_NE(std::string::npos, e.find("Nobody")) << e;
    e = readError("object Bench: TBench\n object First: TGadget\n  Count = 'text'\n end\n object Second: TGadget\n end\nend");
    EXPECT_NE(std::string::npos, e.find("Count")) << e;
}

TEST(FormReader_Refuse, FieldWithoutComponentAndWrongClass) {
    std::string e = readError("object Bench: TBench\n object First: TGadget\n end\nend");
    EXPECT_NE(std::string::npos, e.find("Second")) << e;
    e = readError("object Bench: TBench\n object First: TGadget\n end\n object Second: TBench\n end\nend");
    EXPECT_NE(std::string::npos, e.find("not found")) << e;  // TBench is not creatable by the reader
}

TEST(FormReader_Parse, SyntaxErrorsNameTheLine) {
    struct Row { const char* text; const char* expect; } rows[] = {
        {"object A: TBench\n  Caption = 'open\nend", "line 2"},
        {"object A: TBench\n  Blob = {0G}\nend", "line 2"},
        {"object A: TBench\n  Blob = {012}\nend", "Odd"},
        {"object A: TBench\n  Count = 99999999999999999999\nend", "too large"},
        {"object A: TBench\n  Count = \n", "expected"},
        {"object A: TBench\nend\nextra", "after the end"},
        {"thing A: TBench\nend", "'object' expected"},
        {"object A: TBench\n  Caption = #70000\nend", "too large"},
    };
    for (const Row& r : rows) {
        try {
            dfm::Parse(r.text);
            ADD_FAILURE() << "no error for: " << r.text;
        } catch (const EReadError& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find(r.expect)) << r.text << " -> " << e.what();
        }
    }
}

TEST(FormReader_Parse, ValuesOfEveryKind) {
    dfm::Object o = dfm::Parse("\xEF\xBB\xBF" "object A: TX\n  N = -$1F\n  S = [a, b]\n  E = []\n  L = ('x' #49)\n  R = @SKIN\n  I = Some.Dotted\nend");
    ASSERT_EQ(6u, o.props.size());
    EXPECT_EQ(-31, o.props[0].value.integer);
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), o.props[1].value.set);
    EXPECT_TRUE(o.props[2].value.set.empty());
    ASSERT_EQ(2u, o.props[3].value.list.size());
    EXPECT_EQ(L"1", o.props[3].value.list[1].string);
    EXPECT_EQ(dfm::Value::Resource, o.props[4].value.kind);
    EXPECT_EQ("SKIN", o.props[4].value.ident);
    EXPECT_EQ("Some.Dotted", o.props[5].value.ident);
}

TEST(TypInfo_PropertyByName, ReadWriteAndMissingProperties) {
    auto bench = loadBench(kBench);
    TGadget& g = *bench->First;
    EXPECT_EQ(7, GetOrdProp(g, "count"));       // names compare without regard to case
    SetOrdProp(g, "COUNT", 9);
    EXPECT_EQ(9, g.Count);
    EXPECT_EQ("flSweet", GetEnumProp(g, "Flavour"));
    SetEnumProp(g, "Flavour", "flsalty");
    EXPECT_EQ(flSalty, g.Flavour);
    EXPECT_EQ(1, GetOrdProp(g, "Shiny"));
    SetStrProp(g, "Caption", "x");
    EXPECT_EQ("x", GetStrProp(g, "Caption"));
    EXPECT_EQ(&g.Font, GetObjectProp(g, "Font"));
    EXPECT_EQ(-13, GetOrdProp(*GetObjectProp(g, "Font"), "Height"));
    EXPECT_EQ(bench->Second, GetObjectProp(g, "Buddy"));

    // Missing properties read as the neutral value; writing one raises.
    EXPECT_EQ(0, GetOrdProp(g, "NoSuch"));
    EXPECT_EQ(-1, GetOrdProp(g, "NoSuch", -1));
    EXPECT_EQ("", GetStrProp(g, "NoSuch"));
    EXPECT_EQ(nullptr, GetObjectProp(g, "NoSuch"));
    EXPECT_EQ("", GetEnumProp(g, "NoSuch"));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(GetPropValue(g, "NoSuch")));
    EXPECT_THROW(SetOrdProp(g, "NoSuch", 1), EPropertyError);
    EXPECT_THROW(SetEnumProp(g, "Flavour", "flBitter"), EPropertyError);
    EXPECT_THROW(SetPropValue(g, "Font", TValue(static_cast<TObject*>(nullptr))), EPropertyError);  // read-only
}

TEST(TypInfo_Properties, TryingToWriteWhatAClassMayNotHave) {
    auto bench = loadBench(kBench);
    TGadget& g = *bench->First;
    struct Row {
        const char* what;
        std::function<bool()> write;
        bool written;
    } rows[] = {
        {"missing property", [&] { return TrySetPropValue(g, "AutoScroll", int64_t{0}); }, false},
        {"missing enumeration", [&] { return TrySetEnumProp(g, "AutoScroll", "False"); }, false},
        {"read-only property", [&] { return TrySetPropValue(g, "Font", TValue(static_cast<TObject*>(nullptr))); }, false},
        {"integer", [&] { return TrySetPropValue(g, "count", int64_t{11}); }, true},
        {"enumeration by name", [&] { return TrySetEnumProp(g, "Flavour", "flSalty"); }, true},
    };
    for (const Row& row : rows) {
        bool written = !row.written;
        EXPECT_NO_THROW(written = row.write()) << row.what;
        EXPECT_EQ(row.written, written) << row.what;
    }
    EXPECT_EQ(11, g.Count);
    EXPECT_EQ(flSalty, g.Flavour);
    EXPECT_THROW(TrySetEnumProp(g, "Flavour", "flBitter"), EPropertyError) << "a refused value still raises";
}

TEST(TypInfo_ClassInfo, InheritanceByClassAndName) {
    TGadget::StaticClassInfo();
    const TClassInfo* cls = FindClassInfo("tgadget");
    ASSERT_NE(nullptr, cls);
    EXPECT_TRUE(cls->InheritsFrom("TComponent"));
    EXPECT_TRUE(cls->InheritsFrom(&TPersistent::StaticClassInfo()));
    EXPECT_FALSE(cls->InheritsFrom("TStrings"));
    TGadget g(nullptr);
    EXPECT_EQ("TGadget", g.ClassName());
    EXPECT_TRUE(g.InheritsFrom("TObject"));
}

TEST(Component_Ownership, FreedComponentUnlinksAndNotifies) {
    auto bench = loadBench(kBench);
    TGadget* first = bench->First;
    TGadget* second = bench->Second;
    ASSERT_EQ(second, first->Buddy);
    delete second;
    EXPECT_EQ(nullptr, first->Buddy);
    EXPECT_EQ(nullptr, bench->FindComponent("Second"));
    EXPECT_EQ(2, bench->ComponentCount());
}

TEST(Component_Names, DuplicateNameRefused) {
    TBench owner;
    auto* a = new TGadget(&owner);
    a->SetName("A");
    auto* b = new TGadget(&owner);
    EXPECT_THROW(b->SetName("a"), Exception);
}

TEST(Strings_Text, SplitsAtEveryLineBreakKind) {
    TStringList l;
    l.SetText("a\r\nb\nc\rd\r\n\r\ne");
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "d", "", "e"}), l.ToVector());
    EXPECT_EQ("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n", l.Text());
    EXPECT_THROW(l.Get(6), EStringListError);
    EXPECT_EQ(1, l.IndexOf("B"));
}
