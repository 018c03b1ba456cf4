#include <gtest/gtest.h>

#include "ui/win32/field_accessible.h"
// After windows.h, which it needs.
#include <servprov.h>

namespace ovra {
namespace {

struct Face {
    const char* name;
    IID iid;
};

// COM's rules over the faces a field's object answers for, read from each of them: one IUnknown, each face
// reached from every other and from itself, and a face it does not have refused from every one alike.
TEST(FieldAccessible, AnswersLikeOneComObject) {
    const Face answered[] = {
        {"IUnknown", __uuidof(IUnknown)},
        {"IDispatch", __uuidof(IDispatch)},
        {"IAccessible", __uuidof(IAccessible)},
        {"IOleWindow", __uuidof(IOleWindow)},
    };
    const Face refused[] = {
        {"IEnumVARIANT", __uuidof(IEnumVARIANT)},
        {"IServiceProvider", __uuidof(IServiceProvider)},
        {"IOleObject", __uuidof(IOleObject)},
    };
    const HWND field = CreateWindowExW(0, L"EDIT", L"60", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(field, nullptr);
    IAccessible* object = NewDescribedFieldAccessible(field, L"岁");
    ASSERT_NE(object, nullptr);
    IUnknown* identity = nullptr;
    ASSERT_EQ(object->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&identity)), S_OK);

    for (const Face& from : answered) {
        IUnknown* face = nullptr;
        ASSERT_EQ(object->QueryInterface(from.iid, reinterpret_cast<void**>(&face)), S_OK) << from.name;
        for (const Face& to : answered) {
            IUnknown* reached = nullptr;
            EXPECT_EQ(face->QueryInterface(to.iid, reinterpret_cast<void**>(&reached)), S_OK)
                << to.name << " from " << from.name;
            if (reached == nullptr) continue;
            IUnknown* back = nullptr;
            EXPECT_EQ(reached->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&back)), S_OK);
            EXPECT_EQ(back, identity) << "IUnknown of " << to.name << " reached from " << from.name;
            if (back != nullptr) back->Release();
            reached->Release();
        }
        for (const Face& to : refused) {
            IUnknown* reached = reinterpret_cast<IUnknown*>(face);  // must be cleared
            EXPECT_EQ(face->QueryInterface(to.iid, reinterpret_cast<void**>(&reached)), E_NOINTERFACE)
                << to.name << " from " << from.name;
            EXPECT_EQ(reached, nullptr) << to.name << " from " << from.name;
            if (reached != nullptr) reached->Release();
        }
        face->Release();
    }

    IOleWindow* window = nullptr;
    ASSERT_EQ(object->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&window)), S_OK);
    HWND named = nullptr;
    EXPECT_EQ(window->GetWindow(&named), S_OK);
    EXPECT_EQ(named, field);
    window->Release();
    identity->Release();
    EXPECT_EQ(object->Release(), 0u);
    DestroyWindow(field);
}

}  // namespace
}  // namespace ovra
