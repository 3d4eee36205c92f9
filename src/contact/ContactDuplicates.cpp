#include "contact/ContactDuplicates.h"

#include "contact/ContactList.h"
#include "platform/Text.h"

#include <functional>
#include <numeric>
#include <optional>
#include <string>
#include <unordered_map>

namespace addrix {

namespace {

constexpr Column kPhoneColumns[] = {Column::HomePhone, Column::WorkPhone, Column::MobilePhone,
                                    Column::Fax};
constexpr Column kEmailColumns[] = {Column::WorkEmail, Column::HomeEmail};

// `text` in lower case, each run of blanks one space, none at either end.
void AppendFolded(std::string& key, std::string_view text) {
    bool gap = false;
    for (const char c : Trim(text, IsFieldBlank)) {
        if (IsFieldBlank(c)) {
            gap = true;
            continue;
        }
        if (gap)
            key += ' ';
        gap = false;
        key += AsciiLower(c);
    }
}

// The names as the rule compares them.
std::string NameKey(const ListedContact& contact) {
    std::string key;
    AppendFolded(key, contact.text(Column::FirstName));
    key += '\n'; // no written name holds one
    AppendFolded(key, contact.text(Column::LastName));
    return key;
}

// What links a contact to another of its name: each phone number's digits
// and each e-mail address in lower case, marked apart.
std::vector<std::string> Links(const ListedContact& contact) {
    std::vector<std::string> links;
    for (const Column column : kPhoneColumns) {
        std::string digits = "#";
        for (const char c : contact.text(column))
            if (c >= '0' && c <= '9')
                digits += c;
        if (digits.size() > 1)
            links.push_back(std::move(digits));
    }
    for (const Column column : kEmailColumns) {
        const std::string_view address = Trim(contact.text(column), IsFieldBlank);
        if (!address.empty())
            links.push_back("@" + AsciiLower(std::string(address)));
    }
    return links;
}

// Contacts joined into groups; a group's root is its first contact.
class Groups {
public:
    explicit Groups(std::size_t count) : m_root(count) {
        std::iota(m_root.begin(), m_root.end(), std::size_t{0});
    }
    std::size_t root(std::size_t i) {
        while (m_root[i] != i)
            i = m_root[i] = m_root[m_root[i]];
        return i;
    }
    void join(std::size_t a, std::size_t b) {
        a = root(a);
        b = root(b);
        if (a > b)
            std::swap(a, b);
        m_root[b] = a;
    }

private:
    std::vector<std::size_t> m_root;
};

// The contacts of one name seen so far.
struct NameBucket {
    std::vector<std::size_t> members; // until one without links comes
    std::optional<std::size_t> bare;  // the first without links: every other joins it
};

// The groups of the chosen contacts, in one pass: a name's contacts meet by
// their links, and all of them meet at the first that has none.
Groups GroupContacts(const std::vector<ListedContact>& contacts) {
    Groups groups(contacts.size());
    std::unordered_map<std::string, NameBucket> names;
    std::unordered_map<std::string, std::size_t>
        linked; // name and link: the first contact with both
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        if (!contacts[i].chosen)
            continue;
        std::string name = NameKey(contacts[i]);
        NameBucket& bucket = names[name];
        const std::vector<std::string> links = Links(contacts[i]);
        if (bucket.bare) {
            groups.join(*bucket.bare, i);
        } else if (links.empty()) {
            for (const std::size_t member : bucket.members)
                groups.join(member, i);
            bucket.members = {};
            bucket.bare = i;
        } else {
            bucket.members.push_back(i);
        }
        name += '\n';
        for (const std::string& link : links) {
            const auto [first, fresh] = linked.emplace(name + link, i);
            if (!fresh)
                groups.join(first->second, i);
        }
    }
    return groups;
}

Change MergedRow(const char* source, const ListedContact& other, Column column,
                 const std::string& written) {
    Change change = ContactRow(source, other.position, other.name(), ChangeKind::Merged);
    change.column = ColumnName(column);
    change.sourceValue = other.text(column);
    change.writtenValue = written;
    return change;
}

// Fills the empty columns of `kept` from `other` and tells what it filled
// and dropped.
void MergeInto(ListedContact& kept, ListedContact& other, const char* source) {
    const std::size_t before = kept.merged.size();
    for (const Column column : kSourceColumns) {
        const std::string& value = other.text(column);
        std::string& own = kept.text(column);
        if (value.empty() || value == own)
            continue;
        if (own.empty()) {
            own = value;
            // What the Norvik's columns did to the value goes along with it.
            for (Change& change : other.changes)
                if (change.column == ColumnName(column))
                    kept.changes.push_back(std::move(change));
        }
        kept.merged.push_back(MergedRow(source, other, column, own));
    }
    if (kept.merged.size() == before)
        kept.merged.push_back(ContactRow(source, other.position, other.name(), ChangeKind::Merged));
    for (Change& change : other.merged)
        kept.merged.push_back(std::move(change));
}

// Merges the groups whose first contact `wanted` takes; how many contacts left.
std::size_t MergeGroups(ContactList& list,
                        const std::function<bool(const ListedContact&)>& wanted) {
    std::vector<ListedContact>& contacts = list.contacts();
    Groups groups = GroupContacts(contacts);
    std::vector<bool> gone(contacts.size());
    std::size_t count = 0;
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        const std::size_t root = groups.root(i);
        if (root == i || !wanted(contacts[root]))
            continue;
        MergeInto(contacts[root], contacts[i], list.source());
        gone[i] = true;
        ++count;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        if (gone[i])
            continue;
        if (kept != i)
            contacts[kept] = std::move(contacts[i]);
        ++kept;
    }
    contacts.resize(kept);
    return count;
}

} // namespace

std::vector<std::int64_t> FindDuplicates(const ContactList& list) {
    const std::vector<ListedContact>& contacts = list.contacts();
    Groups groups = GroupContacts(contacts);
    std::vector<std::size_t> sizes(contacts.size());
    for (std::size_t i = 0; i < contacts.size(); ++i)
        ++sizes[groups.root(i)];
    std::vector<std::int64_t> firsts(contacts.size());
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        const std::size_t root = groups.root(i);
        firsts[i] = sizes[root] > 1 ? contacts[root].position : 0;
    }
    return firsts;
}

std::size_t MergeDuplicates(ContactList& list, std::int64_t first) {
    return MergeGroups(list,
                       [first](const ListedContact& contact) { return contact.position == first; });
}

std::size_t MergeAllDuplicates(ContactList& list) {
    return MergeGroups(list, [](const ListedContact&) { return true; });
}

} // namespace addrix
