#include "datalink/ProviderRecords.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <expat.h>

namespace cellctl::cli {
namespace {

constexpr size_t kChunkSize = 64 * 1024;

const char* attribute(const XML_Char** attributes, const char* name)
{
    for (size_t i = 0; attributes[i] != nullptr; i += 2) {
        if (std::strcmp(attributes[i], name) == 0)
            return attributes[i + 1];
    }
    return nullptr;
}

std::string attributeOr(const XML_Char** attributes, const char* name)
{
    const char* value = attribute(attributes, name);
    return value != nullptr ? value : "";
}

std::string trimmed(const std::string& text)
{
    const char* space = " \t\r\n";
    size_t first = text.find_first_not_of(space);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

struct ApnCandidate {
    AccessPointSettings settings;
    std::string usage;  // the type of its <usage>, empty when it has none
};

bool isInternet(const std::string& usage) { return usage == "internet"; }

// "mms-internet-hipri" is for internet among other uses.
bool includesInternet(const std::string& usage) { return ("-" + usage + "-").find("-internet-") != std::string::npos; }

bool isStated(const std::string& usage) { return !usage.empty(); }

// Follows the document element by element, keeping the current country's GSM
// providers until the country ends and it is known whether it lists a wanted
// MCC. Only leaf text the lookup needs is collected.
class Reader {
public:
    explicit Reader(const std::set<std::string>& wantedMccs) : wantedMccs_(wantedMccs) {}

    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<Reader*>(self)->start(name, attributes);
    }
    static void XMLCALL onEnd(void* self, const XML_Char* name) { static_cast<Reader*>(self)->end(name); }
    static void XMLCALL onText(void* self, const XML_Char* text, int length)
    {
        auto* reader = static_cast<Reader*>(self);
        if (reader->collecting_)
            reader->text_.append(text, static_cast<size_t>(length));
    }

    std::vector<ProviderRecord> takeProviders() { return std::move(kept_); }

private:
    const std::string& parent() const
    {
        static const std::string none;
        return open_.empty() ? none : open_.back();
    }

    // Collects the text of the element being opened, up to its end.
    void collectText()
    {
        collecting_ = true;
        collectDepth_ = open_.size();
        text_.clear();
    }

    void start(const std::string& name, const XML_Char** attributes)
    {
        const std::string& in = parent();
        if (name == "country" && in == "serviceproviders") {
            country_ = attributeOr(attributes, "code");
            countryWanted_ = false;
            countryProviders_.clear();
        } else if (name == "provider" && in == "country") {
            provider_ = ProviderRecord{};
            provider_.country = country_;
            provider_.primary = attributeOr(attributes, "primary") == "true";
            inProvider_ = true;
            hasGsm_ = false;
            hasUntaggedName_ = false;
        } else if (name == "name" && in == "provider" && inProvider_) {
            nameHasLanguage_ = attribute(attributes, "xml:lang") != nullptr;
            collectText();
        } else if (name == "gsm" && in == "provider" && inProvider_) {
            inGsm_ = true;
            hasGsm_ = true;
            apns_.clear();
        } else if (name == "network-id" && in == "gsm" && inGsm_) {
            NetworkCode code{attributeOr(attributes, "mcc"), attributeOr(attributes, "mnc")};
            if (wantedMccs_.count(code.mcc) != 0)
                countryWanted_ = true;
            provider_.networks.push_back(std::move(code));
        } else if (name == "apn" && in == "gsm" && inGsm_) {
            apn_ = &apns_.emplace_back();
            apn_->settings.apn = attributeOr(attributes, "value");
        } else if (in == "apn" && apn_ != nullptr) {
            startInApn(name, attributes);
        }
        open_.push_back(name);
    }

    void startInApn(const std::string& name, const XML_Char** attributes)
    {
        if (name == "usage") {
            apn_->usage = attributeOr(attributes, "type");
        } else if (name == "authentication") {
            apn_->settings.auth = attributeOr(attributes, "method");
        } else if (name == "username" || name == "password" || name == "dns") {
            collectText();
        }
    }

    void end(const std::string& name)
    {
        open_.pop_back();
        if (collecting_ && open_.size() == collectDepth_) {
            collecting_ = false;
            storeText(name, trimmed(text_));
        } else if (name == "apn") {
            apn_ = nullptr;
        } else if (name == "gsm" && inGsm_) {
            inGsm_ = false;
            chooseInternetApn();
        } else if (name == "provider" && inProvider_) {
            inProvider_ = false;
            if (hasGsm_)
                countryProviders_.push_back(std::move(provider_));
        } else if (name == "country" && parent() == "serviceproviders" && countryWanted_) {
            for (ProviderRecord& provider : countryProviders_)
                kept_.push_back(std::move(provider));
            countryProviders_.clear();
        }
    }

    void storeText(const std::string& element, std::string text)
    {
        if (element == "name") {
            // The name without a language tag is the provider's own; the
            // first name stands in until one is seen.
            if (provider_.name.empty() || (!nameHasLanguage_ && !hasUntaggedName_))
                provider_.name = text;
            hasUntaggedName_ = hasUntaggedName_ || !nameHasLanguage_;
            provider_.names.push_back(std::move(text));
        } else if (element == "username") {
            apn_->settings.user = std::move(text);
        } else if (element == "password") {
            apn_->settings.password = std::move(text);
        } else if (element == "dns") {
            apn_->settings.dns.push_back(std::move(text));
        }
    }

    // The first APN for internet use alone; failing that, the first whose
    // usage includes internet. Entries that state no usage for any of their
    // APNs predate usages; their first APN is what they offer for data.
    void chooseInternetApn()
    {
        if (const ApnCandidate* apn = firstApn(isInternet))
            take(*apn, ApnBasis::internetUsage);
        else if (const ApnCandidate* shared = firstApn(includesInternet))
            take(*shared, ApnBasis::sharedInternetUsage);
        else if (!apns_.empty() && firstApn(isStated) == nullptr)
            take(apns_.front(), ApnBasis::noUsageStated);
    }

    const ApnCandidate* firstApn(bool (*usageFits)(const std::string&)) const
    {
        auto found =
            std::find_if(apns_.begin(), apns_.end(), [&](const ApnCandidate& apn) { return usageFits(apn.usage); });
        return found != apns_.end() ? &*found : nullptr;
    }

    void take(const ApnCandidate& apn, ApnBasis basis)
    {
        provider_.internetApn = apn.settings;
        provider_.apnBasis = basis;
    }

    const std::set<std::string>& wantedMccs_;
    std::vector<std::string> open_;  // names of the open elements, outermost first
    bool collecting_ = false;
    size_t collectDepth_ = 0;
    std::string text_;

    std::string country_;
    bool countryWanted_ = false;
    std::vector<ProviderRecord> countryProviders_;
    ProviderRecord provider_;
    bool inProvider_ = false;
    bool inGsm_ = false;
    bool hasGsm_ = false;
    bool nameHasLanguage_ = false;
    bool hasUntaggedName_ = false;
    std::vector<ApnCandidate> apns_;
    ApnCandidate* apn_ = nullptr;  // the open <apn> of the current <gsm>, if any
    std::vector<ProviderRecord> kept_;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

std::string parserError(XML_Parser parser)
{
    return "is not a readable provider list (line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ": " +
           XML_ErrorString(XML_GetErrorCode(parser)) + ")";
}

}  // namespace

ProviderFile readProviders(const std::string& path, const std::set<std::string>& wantedMccs)
{
    ProviderFile result;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.error = std::string("cannot be read (") + std::strerror(errno) + ")";
        return result;
    }
    std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate(nullptr));
    if (!parser) {
        result.error = "cannot be read (out of memory for the XML parser)";
        return result;
    }
    Reader reader(wantedMccs);
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(parser.get(), &Reader::onStart, &Reader::onEnd);
    XML_SetCharacterDataHandler(parser.get(), &Reader::onText);

    std::unique_ptr<char[]> chunk(new char[kChunkSize]);
    for (;;) {
        size_t length = std::fread(chunk.get(), 1, kChunkSize, file.get());
        if (std::ferror(file.get())) {
            result.error = std::string("cannot be read (") + std::strerror(errno) + ")";
            return result;
        }
        bool last = std::feof(file.get()) != 0;
        if (XML_Parse(parser.get(), chunk.get(), static_cast<int>(length), last ? XML_TRUE : XML_FALSE) ==
            XML_STATUS_ERROR) {
            result.error = parserError(parser.get());
            return result;
        }
        if (last)
            break;
    }
    result.providers = reader.takeProviders();
    return result;
}

}  // namespace cellctl::cli
