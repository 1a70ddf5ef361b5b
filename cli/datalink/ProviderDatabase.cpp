#include "datalink/ProviderDatabase.h"

#include <algorithm>
#include <cctype>
#include <set>

#include <cellctl/text/Numbers.h>

#include "datalink/ProviderRecords.h"

namespace cellctl::cli {
namespace {

constexpr size_t kMccLength = 3;
constexpr size_t kShortestMnc = 2;
constexpr size_t kLongestMnc = 3;
constexpr size_t kLongestImsi = 15;

// A network code to look up and the words naming where it came from.
struct CodeAttempt {
    const char* source;  // "SIM home network" or "registered network"
    NetworkCode code;
};

// What one step found out, for the explanation: a code absent from the
// database, present only for providers without an internet APN, or the entry
// chosen.
struct Finding {
    std::string source;   // "SIM home network"
    std::string subject;  // "460/07"
    std::string outcome;  // " not found", " lists no internet APN (Foo)", ": Foo (aa), APN bar"
};

bool isDigitsOfLength(const std::string& code, size_t minLength, size_t maxLength)
{
    return code.size() >= minLength && code.size() <= maxLength && text::isDigits(code);
}

std::string codeText(const NetworkCode& code) { return code.mcc + "/" + code.mnc; }

bool sameCode(const NetworkCode& a, const NetworkCode& b) { return a.mcc == b.mcc && a.mnc == b.mnc; }

// Codes in the order they are tried: the SIM's home network with a 3-digit
// MNC, then with a 2-digit one (the IMSI does not say which), then the
// registered network, whose code length does say it.
std::vector<CodeAttempt> codesToTry(const std::string& imsi, const std::string& registeredCode)
{
    std::vector<CodeAttempt> attempts;
    if (isDigitsOfLength(imsi, kMccLength + kLongestMnc, kLongestImsi)) {
        for (size_t mncLength : {kLongestMnc, kShortestMnc})
            attempts.push_back({"SIM home network", {imsi.substr(0, kMccLength), imsi.substr(kMccLength, mncLength)}});
    }
    if (isDigitsOfLength(registeredCode, kMccLength + kShortestMnc, kMccLength + kLongestMnc)) {
        NetworkCode code{registeredCode.substr(0, kMccLength), registeredCode.substr(kMccLength)};
        bool tried = std::any_of(attempts.begin(), attempts.end(),
                                 [&](const CodeAttempt& attempt) { return sameCode(attempt.code, code); });
        if (!tried)
            attempts.push_back({"registered network", std::move(code)});
    }
    return attempts;
}

bool lists(const ProviderRecord& provider, const NetworkCode& code)
{
    return std::any_of(provider.networks.begin(), provider.networks.end(),
                       [&](const NetworkCode& listed) { return sameCode(listed, code); });
}

// Among providers that fit, the network owner (primary="true") if it has an
// internet APN, else the first in the file whose internet APN was chosen on
// the best grounds.
const ProviderRecord* preferred(const std::vector<const ProviderRecord*>& fitting)
{
    const ProviderRecord* best = nullptr;
    for (const ProviderRecord* provider : fitting) {
        if (!provider->internetApn)
            continue;
        if (provider->primary)
            return provider;
        if (best == nullptr || provider->apnBasis < best->apnBasis)
            best = provider;
    }
    return best;
}

std::string namesWithoutApn(const std::vector<const ProviderRecord*>& fitting)
{
    std::string names;
    for (const ProviderRecord* provider : fitting)
        names += (names.empty() ? "" : ", ") + provider->name;
    return " lists no internet APN (" + names + ")";
}

// Words of a name for comparing: ASCII letters lower-cased, ASCII punctuation
// and spaces separating words, other bytes (non-Latin letters) kept as they are.
std::vector<std::string> nameWords(const std::string& name)
{
    std::vector<std::string> words(1);
    for (char c : name) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || std::isalnum(byte))
            words.back() += static_cast<char>(std::tolower(byte));
        else if (!words.back().empty())
            words.emplace_back();
    }
    if (words.back().empty())
        words.pop_back();
    return words;
}

bool startsWith(const std::vector<std::string>& words, const std::vector<std::string>& prefix)
{
    return !prefix.empty() && prefix.size() <= words.size() && std::equal(prefix.begin(), prefix.end(), words.begin());
}

// Providers of the countries that list `mcc`, whose name equals the operator
// name word for word; failing that, those where one name begins with the
// other ("Vodafone" and "Vodafone UK").
std::vector<const ProviderRecord*> providersNamed(const std::vector<ProviderRecord>& providers, const std::string& mcc,
                                                  const std::string& operatorName)
{
    std::vector<std::string> countries;
    for (const ProviderRecord& provider : providers) {
        for (const NetworkCode& code : provider.networks) {
            if (code.mcc == mcc)
                countries.push_back(provider.country);
        }
    }
    auto inCountry = [&](const ProviderRecord& provider) {
        return std::find(countries.begin(), countries.end(), provider.country) != countries.end();
    };
    const std::vector<std::string> wanted = nameWords(operatorName);
    for (bool exact : {true, false}) {
        std::vector<const ProviderRecord*> named;
        for (const ProviderRecord& provider : providers) {
            bool fits = inCountry(provider) &&
                        std::any_of(provider.names.begin(), provider.names.end(), [&](const std::string& name) {
                            std::vector<std::string> words = nameWords(name);
                            return exact ? !words.empty() && words == wanted
                                         : startsWith(words, wanted) || startsWith(wanted, words);
                        });
            if (fits)
                named.push_back(&provider);
        }
        if (!named.empty())
            return named;
    }
    return {};
}

std::string describe(const std::vector<Finding>& findings)
{
    std::string text;
    std::string lastSource;
    for (const Finding& finding : findings) {
        if (!text.empty())
            text += ", ";
        if (finding.source != lastSource)
            text += finding.source + " ";
        text += finding.subject + finding.outcome;
        lastSource = finding.source;
    }
    return text;
}

std::string capitalised(std::string text)
{
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

// "China Mobile (cn), APN cmnet", with how the APN and the provider were chosen
// when that was not plain.
std::string chosenEntry(const ProviderRecord& provider, size_t fittingCount, const char* fittingWhat)
{
    std::string text = provider.name + " (" + provider.country + "), APN " + provider.internetApn->apn;
    if (fittingCount > 1) {
        text += std::string(provider.primary ? ", the network owner" : ", the first suitable") + " of " +
                std::to_string(fittingCount) + " providers " + fittingWhat;
    }
    if (provider.apnBasis == ApnBasis::sharedInternetUsage)
        text += ", an APN for internet among other uses since none is for internet alone";
    else if (provider.apnBasis == ApnBasis::noUsageStated)
        text += ", the entry's first APN since none of its APNs states a usage";
    return text;
}

ProviderMatch chosen(const ProviderRecord& provider, std::string explanation)
{
    AccessPointSettings settings = *provider.internetApn;
    settings.provider = provider.name;
    settings.country = provider.country;
    return {std::move(settings), std::move(explanation) + "."};
}

}  // namespace

ProviderMatch findAccessPoint(const std::string& databasePath, const std::string& imsi,
                              const std::string& registeredCode, const std::string& registeredName)
{
    const std::vector<CodeAttempt> attempts = codesToTry(imsi, registeredCode);
    // The operator's name is looked for within the registered network's
    // country, or the SIM's when the modem gave no registered code.
    std::string nameMcc;
    if (!registeredName.empty() && !attempts.empty())
        nameMcc = attempts.back().code.mcc;
    if (attempts.empty() && registeredName.empty()) {
        return {std::nullopt,
                "Neither a SIM identity nor a registered network is known to look the access point up by; give --apn."};
    }

    std::set<std::string> mccs;
    for (const CodeAttempt& attempt : attempts)
        mccs.insert(attempt.code.mcc);
    const ProviderFile file = readProviders(databasePath, mccs);
    if (!file.error.empty()) {
        return {std::nullopt, "The provider database " + databasePath + " " + file.error +
                                  "; install mobile-broadband-provider-info or give --apn."};
    }

    std::vector<Finding> findings;
    bool allAbsent = true;
    for (const CodeAttempt& attempt : attempts) {
        std::vector<const ProviderRecord*> fitting;
        for (const ProviderRecord& provider : file.providers) {
            if (lists(provider, attempt.code))
                fitting.push_back(&provider);
        }
        if (const ProviderRecord* provider = preferred(fitting)) {
            findings.push_back(
                {attempt.source, codeText(attempt.code), ": " + chosenEntry(*provider, fitting.size(), "listing it")});
            return chosen(*provider, capitalised(describe(findings)));
        }
        findings.push_back(
            {attempt.source, codeText(attempt.code), fitting.empty() ? " not found" : namesWithoutApn(fitting)});
        allAbsent = allAbsent && fitting.empty();
    }

    if (!nameMcc.empty()) {
        std::vector<const ProviderRecord*> named = providersNamed(file.providers, nameMcc, registeredName);
        if (const ProviderRecord* provider = preferred(named)) {
            return chosen(*provider, capitalised(describe(findings)) + "; chosen by provider name within MCC " +
                                         nameMcc + " because " +
                                         (allAbsent ? "the code was absent" : "no listed code had an internet APN") +
                                         ": " + chosenEntry(*provider, named.size(), "of that name"));
        }
        findings.push_back({"operator name", "\"" + registeredName + "\" within MCC " + nameMcc,
                            named.empty() ? " not found" : namesWithoutApn(named)});
    } else if (!registeredName.empty()) {
        findings.push_back(
            {"operator name", "\"" + registeredName + "\"", " not looked up: no network code gives its country"});
    }
    return {std::nullopt, "No internet access point in " + databasePath + ": " + describe(findings) + "; give --apn."};
}

}  // namespace cellctl::cli
