#include "system/KORTrace.h"
#include "KORSystemTestSupport.h"

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
  const KORTrace _model{KORVrcModelTraceName};
  const KORTrace _view{KORVrcViewTraceName};
};

TEST_F(KORTraceTest, OffByDefault) {
  EXPECT_FALSE(_model.IsActive());
  EXPECT_EQ(StandardErrorOf([&] {
              _model.Write("hidden");
              _view.Printf("hidden %d", 1);
            }),
            "");
}

TEST_F(KORTraceTest, EnvironmentListSwitchesModulesOn) {
  EnableTraces(" KORVrcView ,KORSomethingElse,");
  EXPECT_TRUE(_view.IsActive());
  EXPECT_FALSE(_model.IsActive());
  EXPECT_EQ(StandardErrorOf([&] {
              _view.Write("screen Left added");
              _model.Write("hidden");
              _view.Printf("%d screens, scale %.2f", 3, 0.5);
            }),
            "KORVrcView: screen Left added\n"
            "KORVrcView: 3 screens, scale 0.50\n");
}

TEST_F(KORTraceTest, AllSwitchesEveryModuleOn) {
  EnableTraces("all");
  EXPECT_TRUE(_model.IsActive());
  EXPECT_TRUE(KORTrace("AnyModule").IsActive());
}

TEST_F(KORTraceTest, EnvironmentIsReadOnceUntilReset) {
  EXPECT_FALSE(_model.IsActive());
  _traceVariable.Set("KORVrcModel");
  EXPECT_FALSE(_model.IsActive());
  KORTraceReset();
  EXPECT_TRUE(_model.IsActive());
}

TEST_F(KORTraceTest, EachCallWritesExactlyOneLine) {
  EnableTraces("KORVrcModel");
  EXPECT_EQ(StandardErrorOf([&] { _model.Write("two\nlines\r\n"); }), "KORVrcModel: two lines  \n");
}

TEST_F(KORTraceTest, CaptureRecordsNamedModulesInsteadOfWriting) {
  EnableTraces("KORVrcModel,KORVrcView");
  std::string written = StandardErrorOf([&] {
    KORTraceCapture capture{KORVrcModelTraceName};
    EXPECT_TRUE(_model.IsActive());
    _model.Write("first");
    _view.Write("not captured");
    _model.Printf("second %s", "call\nend");
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{"KORVrcModel: first", "KORVrcModel: second call end"}));
  });
  EXPECT_EQ(written, "KORVrcView: not captured\n");
}

TEST_F(KORTraceTest, CaptureWorksWithTracesOffAndEndsWithItsScope) {
  EXPECT_EQ(StandardErrorOf([&] {
              KORTraceCapture outer{KORVrcModelTraceName, KORVrcViewTraceName};
              {
                KORTraceCapture inner{KORVrcViewTraceName};
                EXPECT_TRUE(_view.IsActive());
                _view.Write("both");
                EXPECT_EQ(inner.Lines(), std::vector<std::string>{"KORVrcView: both"});
              }
              _model.Write("outer only");
              EXPECT_EQ(outer.Lines(),
                        (std::vector<std::string>{"KORVrcView: both", "KORVrcModel: outer only"}));
            }),
            "");
  EXPECT_FALSE(_model.IsActive());
  EXPECT_EQ(StandardErrorOf([&] { _model.Write("after"); }), "");
}

TEST(KORTraceModules, TheWorkbenchModulesTraceToStandardError) {
  const std::vector<KORTraceModuleInfo>& modules = KORTraceModules();
  ASSERT_EQ(modules.size(), 3u);
  EXPECT_EQ(modules[0].name, "KORVrcModel");
  EXPECT_EQ(modules[1].name, "KORVrcView");
  EXPECT_EQ(modules[2].name, "KORVrcController");
  for (const KORTraceModuleInfo& module : modules) {
    EXPECT_EQ(module.description, "Traces for module " + module.name);
    EXPECT_EQ(module.output, "STDERR");
  }
}
