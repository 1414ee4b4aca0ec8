#include "pagerules/adblockconverter.h"

#include <algorithm>
#include <glib.h>
#include <set>
#include <utility>

using abprule::Stage;

namespace {

void appendEscape(std::string &out, gunichar unit)
{
    char escape[8];
    g_snprintf(escape, sizeof escape, "\\u%04x", unit);
    out += escape;
}

// A JSON string in ASCII: the engine keeps every string of a source that
// holds other characters at twice the size, in the compiled filter too.
void appendString(std::string &out, std::string_view text)
{
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) < 0x80) {
            if (c == '"' || c == '\\')
                out += '\\';
            out += c;
            ++i;
            continue;
        }
        // Validated as UTF-8 when read.
        const char *at = text.data() + i;
        const gunichar character = g_utf8_get_char(at);
        i += std::size_t(g_utf8_next_char(at) - at);
        if (character > 0xffff) {
            appendEscape(out, 0xd800 + ((character - 0x10000) >> 10));
            appendEscape(out, 0xdc00 + ((character - 0x10000) & 0x3ff));
        } else {
            appendEscape(out, character);
        }
    }
    out += '"';
}

void appendList(std::string &out, const char *name, const std::vector<std::string> &items)
{
    if (items.empty())
        return;
    out += ",\"";
    out += name;
    out += "\":[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += ',';
        appendString(out, items[i]);
    }
    out += ']';
}

std::string renderRule(const abprule::Trigger &trigger, std::string_view action, std::string_view selector = {})
{
    std::string out = "{\"trigger\":{\"url-filter\":";
    appendString(out, trigger.urlFilter);
    if (trigger.caseSensitive)
        out += ",\"url-filter-is-case-sensitive\":true";
    appendList(out, "resource-type", trigger.resourceTypes);
    if (!trigger.loadType.empty())
        appendList(out, "load-type", {trigger.loadType});
    if (!trigger.loadContext.empty())
        appendList(out, "load-context", {trigger.loadContext});
    appendList(out, "if-domain", trigger.ifDomain);
    appendList(out, "unless-domain", trigger.unlessDomain);
    appendList(out, "if-top-url", trigger.ifTopUrl);
    out += "},\"action\":{\"type\":";
    appendString(out, action);
    if (!selector.empty()) {
        out += ",\"selector\":";
        appendString(out, selector);
    }
    out += "}}";
    return out;
}

const char *actionOf(Stage stage)
{
    switch (stage) {
    case Stage::Block:
    case Stage::PageBlock:
    case Stage::ImportantBlock: return "block";
    case Stage::GenericHide:
    case Stage::DomainHide: return "css-display-none";
    default: return "ignore-previous-rules";
    }
}

bool isInside(const std::string &host, const std::string &parent)
{
    return host == parent
           || (host.size() > parent.size() && host.compare(host.size() - parent.size(), parent.size(), parent) == 0
               && host[host.size() - parent.size() - 1] == '.');
}

// Whether a list line may be a rule (cheap: for counting what is skipped).
bool mayBeRule(std::string_view line)
{
    const auto first = line.find_first_not_of(" \t\r");
    return first != std::string_view::npos && line[first] != '!' && line[first] != '[';
}

} // namespace

struct AdblockConverter::ListRules
{
    std::map<Stage, std::vector<std::string>> network;
    std::vector<std::pair<std::string, Hiding>> hiding;
    std::vector<std::pair<std::string, std::string>> hidingExceptions;
    std::size_t accepted = 0;
    std::size_t skipped = 0;
};

void AdblockConverter::addList(std::string_view text)
{
    ListRules list;
    bool full = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (full) {
            list.skipped += mayBeRule(line);
            continue;
        }
        if (line.size() > LongestLine) {
            list.skipped += mayBeRule(line);
            continue;
        }
        const abprule::Line rule = abprule::read(line);
        if (rule.kind == abprule::Kind::Unsupported) {
            ++list.skipped;
            continue;
        }
        if (rule.kind == abprule::Kind::Network) {
            for (const abprule::Trigger &trigger : rule.network.triggers)
                list.network[rule.network.stage].push_back(renderRule(trigger, actionOf(rule.network.stage)));
            list.accepted += rule.network.triggers.size();
        } else if (rule.kind == abprule::Kind::Hiding) {
            const abprule::HidingRule &hiding = rule.hiding;
            if (hiding.exception) {
                if (hiding.hosts.empty() && hiding.exceptHosts.empty())
                    list.hidingExceptions.emplace_back(hiding.selector, std::string());
                for (const std::string &host : hiding.hosts)
                    list.hidingExceptions.emplace_back(hiding.selector, host);
                continue;
            }
            if (hiding.hosts.empty() && !m_genericHiding) {
                ++list.skipped;
                continue;
            }
            // Hosts left out inside hosts named cannot be said to the engine.
            const bool expressible = std::none_of(
                hiding.exceptHosts.begin(), hiding.exceptHosts.end(), [&](const std::string &out) {
                    return std::any_of(hiding.hosts.begin(), hiding.hosts.end(),
                                       [&](const std::string &in) { return isInside(out, in); });
                });
            if (!expressible) {
                ++list.skipped;
                continue;
            }
            list.hiding.emplace_back(hiding.selector, Hiding{hiding.hosts, hiding.hosts.empty()
                                                                               ? hiding.exceptHosts
                                                                               : std::vector<std::string>()});
            ++list.accepted;
        } else {
            continue;
        }
        if (m_accepted + list.accepted > MostRules)
            full = true;
    }
    if (full) {
        m_skipped += list.accepted + list.skipped;
        return;
    }
    for (auto &[stage, rules] : list.network) {
        auto &into = m_network[stage];
        into.insert(into.end(), std::make_move_iterator(rules.begin()), std::make_move_iterator(rules.end()));
    }
    for (auto &[selector, hiding] : list.hiding) {
        auto &rules = m_hiding[selector];
        if (rules.empty())
            m_selectors.push_back(selector);
        rules.push_back(std::move(hiding));
    }
    for (auto &[selector, host] : list.hidingExceptions)
        m_hidingExceptions[selector].push_back(host);
    m_accepted += list.accepted;
    m_skipped += list.skipped;
}

std::vector<std::string> AdblockConverter::rules(Counts *counts) const
{
    std::map<Stage, std::vector<std::string>> stages;
    for (const auto &[stage, rules] : m_network)
        stages[stage] = rules;
    // Rules without a type act on documents too: a page's own is let
    // through, as a list's author expects (a frame's is not).
    const auto blocks = m_network.find(Stage::Block);
    if (blocks != m_network.end()
        && std::any_of(blocks->second.begin(), blocks->second.end(), [](const std::string &rule) {
               return rule.find("\"resource-type\"") == std::string::npos;
           })) {
        abprule::Trigger page;
        page.resourceTypes = {"document"};
        page.loadContext = "top-frame";
        stages[Stage::PageRescue].push_back(renderRule(page, "ignore-previous-rules"));
    }
    for (const std::string &selector : m_selectors) {
        const auto excepted = m_hidingExceptions.find(selector);
        const std::vector<std::string> none;
        const std::vector<std::string> &hosts = excepted == m_hidingExceptions.end() ? none : excepted->second;
        // An exception everywhere: the selector is not hidden anywhere.
        if (std::find(hosts.begin(), hosts.end(), std::string()) != hosts.end())
            continue;
        for (const Hiding &hiding : m_hiding.at(selector)) {
            abprule::Trigger trigger;
            if (hiding.hosts.empty()) {
                trigger.unlessDomain = hiding.exceptHosts;
                trigger.unlessDomain.insert(trigger.unlessDomain.end(), hosts.begin(), hosts.end());
                for (std::string &host : trigger.unlessDomain)
                    host = "*" + host;
                stages[Stage::GenericHide].push_back(renderRule(trigger, "css-display-none", selector));
                continue;
            }
            for (const std::string &host : hiding.hosts) {
                if (std::find(hosts.begin(), hosts.end(), host) == hosts.end())
                    trigger.ifDomain.push_back("*" + host);
            }
            if (!trigger.ifDomain.empty())
                stages[Stage::DomainHide].push_back(renderRule(trigger, "css-display-none", selector));
        }
    }
    std::vector<std::string> rules;
    std::set<std::string_view> seen;
    for (const auto &[stage, rendered] : stages) {
        for (const std::string &rule : rendered) {
            if (seen.insert(rule).second)
                rules.push_back(rule);
        }
        seen.clear();
    }
    if (counts) {
        counts->used = rules.size();
        counts->skipped = m_skipped;
    }
    return rules;
}

std::string AdblockConverter::json(Counts *counts) const
{
    const std::vector<std::string> rules = this->rules(counts);
    std::size_t size = 2;
    for (const std::string &rule : rules)
        size += rule.size() + 1;
    std::string out;
    out.reserve(size);
    out += '[';
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (i)
            out += ',';
        out += rules[i];
    }
    out += ']';
    return out;
}
