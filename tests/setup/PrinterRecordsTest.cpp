#include "setup/PrinterRecords.h"

#include "tests/setup/ExpectedRegistration.h"

#include <gtest/gtest.h>

namespace velmo::setup {

namespace {

bool sameSid(PSID pSid, WELL_KNOWN_SID_TYPE nType)
{
    BYTE wellKnown[SECURITY_MAX_SID_SIZE];
    DWORD nSize = sizeof(wellKnown);
    return CreateWellKnownSid(nType, nullptr, wellKnown, &nSize) && EqualSid(pSid, wellKnown);
}

TEST(PrinterRecords, SecurityDescriptorIsOwnedByAdministratorsAndOpensPrintingToEveryone)
{
    Bytes descriptor = printerSecurityDescriptor();
    EXPECT_EQ(descriptor, test::expectedSecurityDescriptor());
    ASSERT_EQ(descriptor.size(), 132u);
    auto* pDescriptor = static_cast<PSECURITY_DESCRIPTOR>(descriptor.data());
    ASSERT_TRUE(IsValidSecurityDescriptor(pDescriptor));
    EXPECT_EQ(GetSecurityDescriptorLength(pDescriptor), 132u);

    PSID pOwner = nullptr;
    PSID pGroup = nullptr;
    BOOL bDefaulted = FALSE;
    ASSERT_TRUE(GetSecurityDescriptorOwner(pDescriptor, &pOwner, &bDefaulted));
    EXPECT_TRUE(sameSid(pOwner, WinBuiltinAdministratorsSid));
    ASSERT_TRUE(GetSecurityDescriptorGroup(pDescriptor, &pGroup, &bDefaulted));
    ASSERT_TRUE(IsValidSid(pGroup));
    EXPECT_EQ(*GetSidSubAuthorityCount(pGroup), 5);
    EXPECT_EQ(*GetSidSubAuthority(pGroup, 0), static_cast<DWORD>(SECURITY_NT_NON_UNIQUE));
    EXPECT_EQ(*GetSidSubAuthority(pGroup, 4), static_cast<DWORD>(DOMAIN_GROUP_RID_USERS));

    BOOL bPresent = FALSE;
    PACL pDacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(pDescriptor, &bPresent, &pDacl, &bDefaulted));
    ASSERT_TRUE(bPresent && pDacl && IsValidAcl(pDacl));
    const struct {
        BYTE nFlags;
        ACCESS_MASK nMask;
    } entries[] = {{0, 0x000F000C}, {CONTAINER_INHERIT_ACE | INHERIT_ONLY_ACE, 0x00020000},
                   {OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE, 0x000F003C}};
    ASSERT_EQ(pDacl->AceCount, 3);
    for (DWORD i = 0; i < 3; ++i) {
        ACCESS_ALLOWED_ACE* pAce = nullptr;
        ASSERT_TRUE(GetAce(pDacl, i, reinterpret_cast<void**>(&pAce)));
        EXPECT_EQ(pAce->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_EQ(pAce->Header.AceFlags, entries[i].nFlags) << i;
        EXPECT_EQ(pAce->Mask, entries[i].nMask) << i;
        EXPECT_TRUE(sameSid(&pAce->SidStart, WinWorldSid)) << i;
    }
}

TEST(PrinterRecords, DefaultSettingsCarryThePrinterNameCutTo31Characters)
{
    const std::string shortName = "Fax";
    EXPECT_EQ(defaultSettingsRecord(shortName), test::expectedDevmode(shortName));

    const std::string longName = "Korva Fax Printer With A Forty Char Name";
    ASSERT_EQ(longName.size(), 40u);
    const Bytes record = defaultSettingsRecord(longName);
    ASSERT_EQ(record.size(), 220u);
    const auto* pDevmode = reinterpret_cast<const DEVMODEW*>(record.data());
    EXPECT_EQ(std::wstring(pDevmode->dmDeviceName), std::wstring(longName.begin(), longName.begin() + 31));
    EXPECT_EQ(record, test::expectedDevmode(longName));

    // 8-bit characters are widened as they are, whatever the code page.
    const Bytes accented = defaultSettingsRecord("Caf\xE9");
    EXPECT_EQ(reinterpret_cast<const DEVMODEW*>(accented.data())->dmDeviceName[3], 0x00E9);
}

}

}
