// The portable part of the framework: formatting and the runtime class registry.
#include "framework/Format.h"
#include "framework/RuntimeClass.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CBase : public CObject {
    DECLARE_RUNTIME_CLASS(CBase)
};
class CDerived : public CBase {
    DECLARE_RUNTIME_CLASS(CDerived)
};
IMPLEMENT_RUNTIME_CLASS(CBase, CObject)
IMPLEMENT_RUNTIME_CLASS(CDerived, CBase)

TEST(Format, FormatsLikePrintf) {
    EXPECT_EQ(Format("Version (%s)", "2.0.0.3"), "Version (2.0.0.3)");
    EXPECT_EQ(Format("%d.%d.%d.%d", 2, 0, 0, 3), "2.0.0.3");
    EXPECT_EQ(Format("%s", ""), "");
    const std::string big(1 << 20, 'x');
    EXPECT_EQ(Format("\"%s\"", big.c_str()).size(), big.size() + 2);
}

TEST(RuntimeClass, CreatesRegisteredClassesByName) {
    const RuntimeClass* derived = RuntimeClass::FromName("CDerived");
    ASSERT_NE(derived, nullptr);
    EXPECT_TRUE(derived->IsDerivedFrom(&CBase::runtimeClass));
    EXPECT_TRUE(derived->IsDerivedFrom(&CObject::runtimeClass));
    EXPECT_FALSE(CBase::runtimeClass.IsDerivedFrom(&CDerived::runtimeClass));

    std::unique_ptr<CObject> object(derived->CreateObject());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetRuntimeClass(), &CDerived::runtimeClass);
    EXPECT_EQ(RuntimeClass::FromName("CNowhere"), nullptr);
    EXPECT_EQ(CObject::runtimeClass.CreateObject(), nullptr);
}

} // namespace
