// The application object and forms: the default error box, the plain message box, the
// terminate request, and handlers bound from a stored form.
#include <gtest/gtest.h>

#include "Forms.h"
#include "StdCtrls.h"
#include "gui_test.h"

namespace {

class TThrowingForm : public TForm {
    CLASS_INFO(TThrowingForm)
public:
    explicit TThrowingForm(TComponent* owner) : TForm(owner) {}
    TButton* Button1 = nullptr;
    int created = 0;
    void FormCreate(TObject*) { ++created; }
    void Button1Click(TObject*) { throw Exception("Something went wrong"); }
};

const TClassInfo& TThrowingForm::StaticClassInfo() {
    static const TClassInfo& info = DescribeClass<TThrowingForm>("TThrowingForm", &TForm::StaticClassInfo(), [](TClassBuilder<TThrowingForm>& b) {
        b.Field("Button1", &TThrowingForm::Button1);
        b.Handler("FormCreate", &TThrowingForm::FormCreate);
        b.Handler("Button1Click", &TThrowingForm::Button1Click);
    });
    return info;
}

const char* const kForm = u8R"(object ThrowingForm: TThrowingForm
  Width = 300
  Height = 200
  Caption = '出错测试'
  OnCreate = FormCreate
  object Button1: TButton
    Left = 10
    Top = 10
    Width = 100
    Height = 25
    Caption = '按钮'
    OnClick = Button1Click
  end
end
)";

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->SetTitle("TestTitle");
        form = new TThrowingForm(Application);
        form->InitFromText(kForm);
        form->Show();
        guitest::PumpMessages();
    }
    void TearDown() override {
        delete form;
        guitest::PumpMessages();
    }
    TThrowingForm* form = nullptr;
};

}  // namespace

TEST_F(FormsTest, StoredForm_CreateHandlerRunsOnceAfterReading) {
    EXPECT_EQ(1, form->created);
    ASSERT_NE(nullptr, form->Button1);
    EXPECT_EQ(std::string("按钮"), guitest::WindowTextA(form->Button1->Handle()));
    EXPECT_EQ(L"TButton", guitest::ClassNameOf(form->Button1->Handle()));
}

TEST_F(FormsTest, UncaughtException_DefaultErrorBoxWithTheTextAndTheProgramGoesOn) {
    guitest::ExpectOptions options;
    options.from = guitest::DismissFrom::Thread;
    std::vector<guitest::MessageBoxContents> boxes = guitest::ExpectMessageBoxes(
        [&] {
            SendMessageA(form->Button1->Handle(), BM_CLICK, 0, 0);
            guitest::PumpMessages();  // the box opens from the loop, and is closed there
        },
        {IDOK}, options);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Something went wrong.", boxes[0].text);
    EXPECT_EQ("TestTitle", boxes[0].caption);
    // The form still works afterwards.
    EXPECT_TRUE(IsWindow(form->Handle()));
}

TEST_F(FormsTest, PlainMessageBox_CaptionedWithTheTitle) {
    std::string caption;
    guitest::ExpectOptions options;
    std::vector<guitest::MessageBoxContents> boxes =
        guitest::ExpectMessageBoxes([] { Application->MessageBox("\xD6\xD0\xCE\xC4"); }, {IDOK}, options);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("\xD6\xD0\xCE\xC4", boxes[0].text);
    EXPECT_EQ("TestTitle", boxes[0].caption);
}

// The first-run marker of the dictation programs is written from a show handler; when it
// cannot be written the form must still come up.
TEST(FormShow, FailingShowHandlerStillShowsTheWindow) {
    Application->Initialize();
    TForm form(Application);
    form.SetBounds(20, 20, 200, 120);
    form.OnShow = [](TObject*) { throw Exception("Cannot create file"); };
    EXPECT_THROW(form.Show(), Exception);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(form.Visible());
    form.OnShow = nullptr;
}

TEST(ApplicationTest, TerminateRequestPostsQuit) {
    Application->Initialize();
    EXPECT_FALSE(Application->TerminateRequested());
    Application->Terminate();
    EXPECT_TRUE(Application->TerminateRequested());
    MSG msg;
    bool quit = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT) quit = true;
    EXPECT_TRUE(quit);
}
