// Finding the access point and its credentials in the mobile broadband
// provider database: a small database written here for the rules, and the
// installed one for what real SIMs get.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "datalink/ProviderDatabase.h"

namespace cellctl::cli::test {
namespace {

// Country aa lists MCC 001, bb MCC 002. The MNCs 001 and 00 belong to
// different providers, 03 has no internet APN, 04 is shared by a virtual
// operator and the network owner, 02 states no APN usage at all, 05 has an
// APN for internet only among other uses.
const char* const kDatabase = R"(<?xml version="1.0" encoding="utf-8"?>
<serviceproviders format="2.0">
<country code="aa">
  <name>Country A</name>
  <provider>
    <name>Alpha Three</name>
    <gsm>
      <network-id mcc="001" mnc="001"/>
      <apn value="alpha3"><usage type="internet"/></apn>
    </gsm>
  </provider>
  <provider>
    <name xml:lang="xx">Beeta</name>
    <name>Beta Two</name>
    <gsm>
      <network-id mcc="001" mnc="00"/>
      <apn value="beta.wap"><usage type="wap"/><username>wapuser</username></apn>
      <apn value="beta.nolabel"><name>no usage</name></apn>
      <apn value="beta.net">
        <plan type="postpaid"/>
        <usage type="internet"/>
        <username> betauser </username>
        <password>s3cret-pw</password>
        <authentication method="chap"/>
        <dns>10.0.0.1</dns>
        <dns>10.0.0.2</dns>
      </apn>
      <apn value="beta.net2"><usage type="internet"/></apn>
    </gsm>
    <cdma><username>cdmauser</username><password>cdmapw</password></cdma>
  </provider>
  <provider>
    <name>Gamma Mobile</name>
    <gsm>
      <network-id mcc="001" mnc="02"/>
      <apn value="gamma.first"/>
      <apn value="gamma.second"/>
    </gsm>
  </provider>
  <provider>
    <name>Delta</name>
    <gsm>
      <network-id mcc="001" mnc="03"/>
      <apn value="delta.mms"><usage type="mms"/></apn>
    </gsm>
  </provider>
  <provider>
    <name>Epsilon Virtual</name>
    <gsm>
      <network-id mcc="001" mnc="04"/>
      <apn value="epsilon"><usage type="internet"/></apn>
    </gsm>
  </provider>
  <provider>
    <name>Eta Combined</name>
    <gsm>
      <network-id mcc="001" mnc="05"/>
      <apn value="eta.mms"><usage type="mms"/></apn>
      <apn value="eta.all"><usage type="mms-internet-hipri"/></apn>
    </gsm>
  </provider>
  <provider primary="true">
    <name>Zeta Owner</name>
    <gsm>
      <network-id mcc="001" mnc="04"/>
      <apn value="zeta"><usage type="internet"/></apn>
    </gsm>
  </provider>
</country>
<country code="bb">
  <name>Country B</name>
  <provider>
    <name>Omega Net</name>
    <gsm>
      <network-id mcc="002" mnc="01"/>
      <apn value="omega"><usage type="internet"/><authentication method="pap"/></apn>
    </gsm>
  </provider>
</country>
</serviceproviders>
)";

std::string tempPath(const std::string& name)
{
    return ::testing::TempDir() + "cellctl-providers-" + std::to_string(::getpid()) + "-" + name;
}

std::string writeFile(const std::string& name, const std::string& content)
{
    std::string path = tempPath(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

bool mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The APN found, or "-" when none was.
std::string apnFor(const std::string& db, const std::string& imsi, const std::string& code = "",
                   const std::string& name = "")
{
    ProviderMatch match = findAccessPoint(db, imsi, code, name);
    if (match.settings && !match.settings->password.empty()) {
        EXPECT_FALSE(mentions(match.explanation, match.settings->password)) << match.explanation;
    }
    return match.settings ? match.settings->apn : "-";
}

TEST(ProviderDatabase, ChoosesByHomeNetworkThenRegisteredNetworkThenName)
{
    const std::string db = writeFile("rules.xml", kDatabase);

    // The 3-digit MNC is tried before the 2-digit one; codes compare as text.
    EXPECT_EQ(apnFor(db, "001001123456789"), "alpha3");
    ProviderMatch beta = findAccessPoint(db, "001009123456789", "", "");
    ASSERT_TRUE(beta.settings);
    EXPECT_EQ(beta.settings->apn, "beta.net");  // the first internet APN, neither the WAP nor the unlabelled one
    EXPECT_EQ(beta.settings->user, "betauser");
    EXPECT_EQ(beta.settings->password, "s3cret-pw");
    EXPECT_EQ(beta.settings->auth, "chap");
    EXPECT_EQ(beta.settings->dns, (std::vector<std::string>{"10.0.0.1", "10.0.0.2"}));
    EXPECT_EQ(beta.settings->provider, "Beta Two");  // the untagged name, not the translated one
    EXPECT_EQ(beta.settings->country, "aa");
    EXPECT_TRUE(mentions(beta.explanation, "SIM home network 001/009 not found, 001/00: Beta Two")) << beta.explanation;
    EXPECT_FALSE(mentions(beta.explanation, "s3cret-pw"));

    // The SIM's home network wins over the registered one; the registered
    // one serves when the SIM's is absent or unknown.
    EXPECT_EQ(apnFor(db, "001001123456789", "00201", "Omega Net"), "alpha3");
    EXPECT_EQ(apnFor(db, "999991234567890", "00201", "Omega Net"), "omega");
    EXPECT_EQ(apnFor(db, "", "00201", ""), "omega");
    EXPECT_EQ(apnFor(db, "", "001001", ""), "alpha3");

    // The network owner among providers sharing a code; an APN for internet
    // among other uses when none is for internet alone; an entry that states
    // no usage offers its first APN.
    EXPECT_EQ(apnFor(db, "001041234567890"), "zeta");
    EXPECT_EQ(apnFor(db, "001051234567890"), "eta.all");
    ProviderMatch gamma = findAccessPoint(db, "001021234567890", "", "");
    ASSERT_TRUE(gamma.settings);
    EXPECT_EQ(gamma.settings->apn, "gamma.first");
    EXPECT_TRUE(mentions(gamma.explanation, "none of its APNs states a usage")) << gamma.explanation;

    // A code the database lacks: the operator's name within the MCC's country,
    // in any case and spacing, or as the beginning of a listed name.
    ProviderMatch byName = findAccessPoint(db, "", "00177", "BETA  two");
    ASSERT_TRUE(byName.settings);
    EXPECT_EQ(byName.settings->apn, "beta.net");
    EXPECT_TRUE(mentions(byName.explanation, "by provider name")) << byName.explanation;
    EXPECT_TRUE(mentions(byName.explanation, "code was absent")) << byName.explanation;
    EXPECT_EQ(apnFor(db, "001771234567890", "", "Gamma"), "gamma.first");
    EXPECT_EQ(apnFor(db, "", "00177", "Beta-Two"), "beta.net");
    // Not across countries: Omega Net is in country bb, the SIM's home, but
    // the network is registered in aa.
    EXPECT_EQ(apnFor(db, "002991234567890", "00177", "Omega Net"), "-");
}

TEST(ProviderDatabase, ExplainsWhatWasTriedWhenNothingFits)
{
    const std::string db = writeFile("none.xml", kDatabase);

    ProviderMatch noInternet = findAccessPoint(db, "001039123456789", "", "");
    EXPECT_FALSE(noInternet.settings);
    EXPECT_TRUE(mentions(noInternet.explanation, "001/039 not found, 001/03 lists no internet APN (Delta)"))
        << noInternet.explanation;
    EXPECT_TRUE(mentions(noInternet.explanation, "--apn"));

    ProviderMatch unknownMcc = findAccessPoint(db, "999011234567890", "99902", "Omega Net");
    EXPECT_FALSE(unknownMcc.settings);
    for (const char* part : {"999/011", "999/01", "999/02", "\"Omega Net\" within MCC 999", "--apn"})
        EXPECT_TRUE(mentions(unknownMcc.explanation, part)) << part << " in: " << unknownMcc.explanation;

    // Malformed identities are not looked up.
    ProviderMatch nothingKnown = findAccessPoint(db, "00100", "46x01", "");
    EXPECT_FALSE(nothingKnown.settings);
    EXPECT_TRUE(mentions(nothingKnown.explanation, "--apn"));
}

TEST(ProviderDatabase, UnreadableDatabaseIsExplainedNotThrown)
{
    const std::string advice = "install mobile-broadband-provider-info or give --apn";
    const std::string missing = tempPath("absent.xml");
    const std::string directory = tempPath("dir");
    ::mkdir(directory.c_str(), 0700);
    const std::string truncated = writeFile("truncated.xml", std::string(kDatabase).substr(0, 700));
    const std::string mismatched = writeFile("mismatched.xml", "<serviceproviders><country code=\"aa\"></provider>");
    const std::string empty = writeFile("empty.xml", "");

    for (const std::string& path : {missing, directory, truncated, mismatched, empty}) {
        ProviderMatch match = findAccessPoint(path, "001001123456789", "00201", "Omega Net");
        EXPECT_FALSE(match.settings) << path;
        EXPECT_TRUE(mentions(match.explanation, path)) << match.explanation;
        EXPECT_TRUE(mentions(match.explanation, advice)) << match.explanation;
    }
    EXPECT_TRUE(mentions(findAccessPoint(missing, "001001123456789", "", "").explanation, "No such file"));
    EXPECT_TRUE(mentions(findAccessPoint(mismatched, "001001123456789", "", "").explanation, "line 1: mismatched tag"));
    ::rmdir(directory.c_str());
}

TEST(ProviderDatabase, InstalledDatabaseKnowsChinaMobile)
{
    if (::access(kProviderDatabasePath, R_OK) != 0)
        GTEST_SKIP() << kProviderDatabasePath << " is absent; cmake/deps.sh installs mobile-broadband-provider-info";

    ProviderMatch home = findAccessPoint(kProviderDatabasePath, "460001234567890", "", "");
    ASSERT_TRUE(home.settings) << home.explanation;
    EXPECT_EQ(home.settings->provider, "China Mobile");
    EXPECT_EQ(home.settings->country, "cn");
    EXPECT_EQ(home.settings->apn, "cmnet");
    EXPECT_EQ(home.settings->user, "guest");
    EXPECT_EQ(home.settings->password, "guest");
    EXPECT_TRUE(mentions(home.explanation, "460/00: China Mobile (cn), APN cmnet")) << home.explanation;
    EXPECT_FALSE(mentions(home.explanation, home.settings->password)) << home.explanation;

    // 460/07 is a China Mobile network the database does not list.
    ProviderMatch byName = findAccessPoint(kProviderDatabasePath, "460071234567890", "46007", "CHINA MOBILE");
    ASSERT_TRUE(byName.settings) << byName.explanation;
    EXPECT_EQ(byName.settings->provider, "China Mobile");
    EXPECT_EQ(byName.settings->apn, "cmnet");
    EXPECT_TRUE(mentions(byName.explanation, "by provider name")) << byName.explanation;
    EXPECT_FALSE(mentions(byName.explanation, byName.settings->password)) << byName.explanation;
}

}  // namespace
}  // namespace cellctl::cli::test
