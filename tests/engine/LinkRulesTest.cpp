#include "ScanFixture.h"
#include "engine/CompareRules.h"
#include "platform/DosStamp.h"

#include <gtest/gtest.h>
#include <optional>

namespace brisko::engine::test {
namespace {

using test::PrintTo;

using Lines = std::vector<std::string>;
using Kind = TargetIndex::Found::Kind;

const platform::DosStamp kOld = platform::dosStampFromTime(kNow - 2 * kHour);
const platform::DosStamp kNew = platform::dosStampFromTime(kNow - kHour);

// One side of a pair: a link holding text, a file or a folder, stamped old or new.
struct Side {
    Kind kind;
    const char* text = "";
    bool isNew = false;
};
const Side kMissing{Kind::Missing};
Side link(const char* text, bool isNew = false) {
    return {Kind::Link, text, isNew};
}
const Side kFile{Kind::File, "", true};
const Side kFolder{Kind::Folder};

platform::DirEntry entryOf(const Side& side) {
    platform::DirEntry entry;
    entry.name = "X";
    entry.stamp = side.isNew ? kNew : kOld;
    entry.attributes.link = side.kind == Kind::Link;
    entry.attributes.directory = side.kind == Kind::Folder;
    entry.linkTarget = side.text;
    entry.size = side.kind == Kind::File ? 10 : 0;
    return entry;
}

enum class Scan { Update, MasterSide, CopySide };

// A link against what the target holds under its name, in the pass from left to right.
struct LinkCase {
    const char* name;
    Scan scan;
    Side source;
    Side target;
    Lines copies = {};    // "FROM > TO (LINK TEXT)"
    Lines deletions = {}; // "PATH (link)"
    Lines problems = {};
    std::optional<std::string> question = {};
};

class LinkRulesTest : public ScanFixture, public ::testing::WithParamInterface<LinkCase> {
protected:
    LinkRulesTest() {
        settings.leftFullPath = "L:\\DATA";
        settings.rightFullPath = "R:\\DATA";
    }

    // Judges one pair as a pass of the session would.
    void judge(Session& session, const Side& source, const Side& target, bool leftToRight,
               bool masterSide) {
        const std::string sourceFolder = leftToRight ? "L:\\DATA" : "R:\\DATA";
        const std::string targetFolder = leftToRight ? "R:\\DATA" : "L:\\DATA";
        const std::string sourcePath = sourceFolder + "\\X";
        const platform::DirEntry sourceEntry = entryOf(source);
        const platform::DirEntry targetEntry = entryOf(target);
        TargetIndex::Found found;
        found.kind = target.kind;
        if (target.kind != Kind::Missing)
            found.entry = &targetEntry;
        CompareRules rules(session, leftToRight);
        rules.judge(FilePair{sourceFolder, targetFolder, sourcePath, sourceEntry, found,
                             settings.tables.fileSpecs[0]},
                    masterSide);
    }

    Lines linkCopies() const {
        Lines lines;
        for (const CopyAction& copy : plan.filesToCopy()) {
            EXPECT_TRUE(copy.link);
            EXPECT_EQ(copy.targetExisted, copy.targetStamp != 0);
            lines.push_back(copy.sourcePath() + " > " + copy.targetPath() + " (" +
                            copy.linkTarget.str() + ")");
        }
        return lines;
    }
    Lines deletions() const {
        Lines lines;
        for (const PathAction& file : plan.filesToDelete())
            lines.push_back(file.path + (file.link ? " (link)" : ""));
        return lines;
    }
};

TEST_P(LinkRulesTest, LeftToRight) {
    const LinkCase& c = GetParam();
    settings.updateMode =
        c.scan == Scan::Update ? script::UpdateMode::OneLTR : script::UpdateMode::LMaster;
    EngineContext made = context();
    ListingCache listings(fileSystem);
    bool skip = false;
    Session session{made, skip, listings};
    judge(session, c.source, c.target, true, c.scan == Scan::MasterSide);

    EXPECT_EQ(linkCopies(), c.copies);
    EXPECT_EQ(deletions(), c.deletions);
    EXPECT_EQ(problems(), c.problems);
    if (c.question) {
        ASSERT_EQ(operatorPort.questions.size(), 1u);
        EXPECT_EQ(operatorPort.questions[0].kind(), DialogKind::SameStamp);
        const auto& sameStamp = operatorPort.questions[0].as<SameStampQuestion>();
        EXPECT_EQ(sameStamp.text, *c.question);
        EXPECT_EQ(sameStamp.sourceFile, "L:\\DATA\\X -> a");
    } else {
        EXPECT_TRUE(operatorPort.questions.empty());
    }
    // A link carries no bytes.
    for (const std::int64_t bytes : plan.sessionBytes())
        EXPECT_EQ(bytes, 0);
    for (const HistoryRow& row : host.history) {
        EXPECT_TRUE(row.colour == RowColour::Red || row.status == "Link to be copied" ||
                    row.status == "Link to be deleted")
            << row.status;
    }

    // The other pass meets a facing pair too, yet it is one problem.
    if (!c.problems.empty()) {
        judge(session, c.target, c.source, false, c.scan == Scan::CopySide);
        EXPECT_EQ(problems(), c.problems);
    }
}

const std::string kClash = "Passed over - a link faces a file or folder of the same name";

const LinkCase kLinkCases[] = {
    {"MissingTargetIsCreated",
     Scan::Update,
     link("a"),
     kMissing,
     {"L:\\DATA\\X > R:\\DATA\\X (a)"}},
    {"MasterSideCreatesIt",
     Scan::MasterSide,
     link("a"),
     kMissing,
     {"L:\\DATA\\X > R:\\DATA\\X (a)"}},
    {"CopySideDeletesIt", Scan::CopySide, link("a"), kMissing, {}, {"L:\\DATA\\X (link)"}},
    {"SameTextIsInStep", Scan::Update, link("a", true), link("a"), {}},
    {"SameTextIsInStepForTheMaster", Scan::MasterSide, link("a", true), link("a"), {}},
    {"LaterSourceIsCopied",
     Scan::Update,
     link("a", true),
     link("b"),
     {"L:\\DATA\\X > R:\\DATA\\X (a)"}},
    {"OlderSourceIsLeft", Scan::Update, link("a"), link("b", true), {}},
    {"SameStampAsks",
     Scan::Update,
     link("a"),
     link("b"),
     {},
     {},
     {},
     "Links with same Time Stamp but different targets !"},
    {"MasterSideWinsWhenOlder",
     Scan::MasterSide,
     link("a"),
     link("b", true),
     {"L:\\DATA\\X > R:\\DATA\\X (a)"}},
    {"CopySideNeverCopies", Scan::CopySide, link("a", true), link("b"), {}},
    {"LinkFacesFile", Scan::Update, link("a"), kFile, {}, {}, {"L:\\DATA\\X: " + kClash}},
    {"FileFacesLink", Scan::Update, kFile, link("a"), {}, {}, {"R:\\DATA\\X: " + kClash}},
    {"LinkFacesFolder", Scan::MasterSide, link("a"), kFolder, {}, {}, {"L:\\DATA\\X: " + kClash}},
};

INSTANTIATE_TEST_SUITE_P(Pairs, LinkRulesTest, ::testing::ValuesIn(kLinkCases), CaseName());

} // namespace
} // namespace brisko::engine::test
