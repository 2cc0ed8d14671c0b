#include "system/KORTrace.h"
#include "KORSystemTestSupport.h"

namespace {
constexpr char kModelTrace[] = "KORTestModel";
constexpr char kViewTrace[] = "KORTestView";
} // namespace

// Every test starts with KOR_TRACE unset and read afresh.
class KORTraceTest : public ::testing::Test {
protected:
  KORTraceTest() : _traceVariable("KOR_TRACE", nullptr) { KORTraceReset(); }
  ~KORTraceTest() override { KORTraceReset(); }

  void EnableTraces(const char* iList) {
    _traceVariable.Set(iList);
    KORTraceReset();
  }

  // What iWrite prints on standard error.
  template <class F> std::string StandardErrorOf(F iWrite) {
    ::testing::internal::CaptureStderr();
    iWrite();
    return ::testing::internal::GetCapturedStderr();
  }

  KOREnvironmentOverride _traceVariable;
  const KORTrace _model{kModelTrace};
  const KORTrace _view{kViewTrace};
};

TEST_F(KORTraceTest, EnvironmentListOrAllSwitchesModulesOn) {
  EnableTraces(" KORTestView ,KORSomethingElse,");
  EXPECT_TRUE(_view.IsActive());
  EXPECT_FALSE(_model.IsActive());
  EXPECT_EQ(StandardErrorOf([&] {
              _view.Write("screen Left added");
              _model.Write("hidden");
              _view.Printf("%d screens, scale %.2f", 3, 0.5);
            }),
            "KORTestView: screen Left added\n"
            "KORTestView: 3 screens, scale 0.50\n");
  EXPECT_EQ(StandardErrorOf([&] { _view.Write("two\nlines\r\n"); }), "KORTestView: two lines  \n")
      << "each call writes exactly one line";
  EnableTraces("all");
  EXPECT_TRUE(_model.IsActive());
  EXPECT_TRUE(KORTrace("AnyModule").IsActive());
}

TEST_F(KORTraceTest, OffByDefaultAndTheEnvironmentIsReadOnceUntilReset) {
  EXPECT_FALSE(_model.IsActive());
  EXPECT_EQ(StandardErrorOf([&] {
              _model.Write("hidden");
              _view.Printf("hidden %d", 1);
            }),
            "");
  _traceVariable.Set("KORTestModel");
  EXPECT_FALSE(_model.IsActive());
  KORTraceReset();
  EXPECT_TRUE(_model.IsActive());
}

TEST_F(KORTraceTest, CaptureRecordsNamedModulesInsteadOfWriting) {
  EnableTraces("KORTestModel,KORTestView");
  std::string written = StandardErrorOf([&] {
    KORTraceCapture capture{kModelTrace};
    EXPECT_TRUE(_model.IsActive());
    _model.Write("first");
    _view.Write("not captured");
    _model.Printf("second %s", "call\nend");
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{"KORTestModel: first", "KORTestModel: second call end"}));
  });
  EXPECT_EQ(written, "KORTestView: not captured\n");
}

TEST_F(KORTraceTest, CaptureWorksWithTracesOffAndEndsWithItsScope) {
  EXPECT_EQ(StandardErrorOf([&] {
              KORTraceCapture outer{kModelTrace, kViewTrace};
              {
                KORTraceCapture inner{kViewTrace};
                EXPECT_TRUE(_view.IsActive());
                _view.Write("both");
                EXPECT_EQ(inner.Lines(), std::vector<std::string>{"KORTestView: both"});
              }
              _model.Write("outer only");
              EXPECT_EQ(outer.Lines(), (std::vector<std::string>{"KORTestView: both",
                                                                 "KORTestModel: outer only"}));
            }),
            "");
  EXPECT_FALSE(_model.IsActive());
  EXPECT_EQ(StandardErrorOf([&] { _model.Write("after"); }), "");
}

TEST(KORTraceModules, RegisteredModulesAreListedOnceInRegistrationOrder) {
  auto position = [](const std::string& iName) {
    const std::vector<KORTraceModuleInfo> modules = KORTraceModules();
    for (std::size_t i = 0; i < modules.size(); ++i)
      if (modules[i].name == iName)
        return static_cast<int>(i);
    return -1;
  };
  EXPECT_EQ(KORRegisterTraceModule({"KORTestFirst", "Traces for module KORTestFirst", "STDERR"}),
            S_OK);
  EXPECT_EQ(KORRegisterTraceModule({"KORTestSecond", "Second", "STDERR"}), S_OK);
  EXPECT_EQ(KORRegisterTraceModule({"KORTestFirst", "Another description", "FILE"}), S_FALSE);
  EXPECT_EQ(KORRegisterTraceModule({"", "Nameless", "STDERR"}), E_INVALIDARG);

  ASSERT_GE(position("KORTestFirst"), 0);
  EXPECT_EQ(position("KORTestSecond"), position("KORTestFirst") + 1);
  const KORTraceModuleInfo first =
      KORTraceModules()[static_cast<std::size_t>(position("KORTestFirst"))];
  EXPECT_EQ(first.description, "Traces for module KORTestFirst")
      << "a second registration replaced the first";
  EXPECT_EQ(first.output, "STDERR");
  EXPECT_EQ(position(""), -1);
}
