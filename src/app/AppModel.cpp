// SPDX-License-Identifier: MIT
#include "app/AppModel.h"

#include "app/GameSession.h"

#include "game/Ranking.h"
#include "game/ScoreTables.h"
#include "store/DataFolder.h"
#include "store/Keys.h"
#include "store/SavedGameFile.h"
#include "store/SettingsStore.h"

// Qt
#include <QCoreApplication>
#include <QDir>

#include <cstddef>
#include <iterator>
#include <tuple>
#include <type_traits>

namespace {

DataFolder::Choice ChoiceOf(const QString& folder)
{
    // No folder given: the one chosen at start-up, the executable's or the player's own.
    if (folder.isEmpty())
        return DataFolder::Current();
    DataFolder::Choice choice;
    choice.folder = folder;
    if (!choice.folder.endsWith(QLatin1Char('/')) && !choice.folder.endsWith(QDir::separator()))
        choice.folder += QDir::separator();
    return choice;
}

StoredTable ScoreTableIn(const DataFolder::Choice& data, int kind)
{
    const QString name = ScoreTables::FileName(kind);
    return StoredTable(data.WritePath(name), ScoreTables::Columns, ScoreTables::InitialRowCount(kind),
        data.ReadPath(name));
}

// Where the model keeps one setting: a member of LiveOptions or of DealChoices.
template <class Key, class Holder, class Value> struct Place
{
    static_assert(std::is_same_v<Value, typename Key::Value>, "a setting kept in a member of another type");
    using HolderType = Holder;
    const Key* key;
    Value Holder::*member;
};

template <class Key, class Holder, class Value>
Place(const Key*, Value Holder::*) -> Place<Key, Holder, Value>;

// Every setting of Keys.h, in the same order (the compiler holds the two lists together).
constexpr std::tuple Places {
    Place { &Keys::Sys::CBH, &DealChoices::heightIndex },
    Place { &Keys::Sys::CBW, &DealChoices::widthIndex },
    Place { &Keys::Sys::CG1, &DealChoices::symbolSets },
    Place { &Keys::Sys::RGC, &DealChoices::colouring },
    Place { &Keys::Wav::CB1, &LiveOptions::soundOn },
    Place { &Keys::Set::CB2, &LiveOptions::quitOnWarning },
    Place { &Keys::Set::CB3, &LiveOptions::showElapsed },
    Place { &Keys::Set::TimeE, &LiveOptions::warningMinutes },
    Place { &Keys::Set::Solvable, &LiveOptions::solvableDeals },
    Place { &Keys::Set::DesktopColors, &LiveOptions::desktopColors },
    Place { &Keys::Set::Resume, &LiveOptions::resumeGame },
};

constexpr bool PlacesFollowKeys()
{
    return std::apply(
        [](const auto&... place) {
            std::size_t i = 0;
            return sizeof...(place) == std::size(Keys::All)
                && (Keys::Setting(*place.key).Names(Keys::All[i++]) && ...);
        },
        Places);
}
static_assert(PlacesFollowKeys(), "every setting of Keys.h needs its place here, in the same order");

template <class Action> void ForEachPlace(Action action)
{
    std::apply([&](const auto&... place) { (action(place), ...); }, Places);
}

} // namespace

template <> LiveOptions& AppModel::Part<LiveOptions>()
{
    return m_options;
}

template <> DealChoices& AppModel::Part<DealChoices>()
{
    return m_deal;
}

AppModel::AppModel(const QString& programFolder)
    : AppModel(ChoiceOf(programFolder))
{
}

AppModel::AppModel(const DataFolder::Choice& data)
    : m_folder(data.folder)
    , m_savesRefused(!data.unwritable.Ok())
    , m_folderNotice(DataFolder::UnwritableMessage(data))
    , m_tables { ScoreTableIn(data, 1), ScoreTableIn(data, 2), ScoreTableIn(data, 3) }
    , m_ranking(data.WritePath(Ranking::FileName()), data.ReadPath(Ranking::FileName()), m_savesRefused)
{
    ReadScoreTables();
    // The main window reads its own when it is made.
    ReadSettings(Keys::Owner::Options, RegOpen::Existing);
    m_session = std::make_unique<GameSession>(*this);
}

AppModel::~AppModel() = default;

TextGrid* AppModel::ScoreTable(int kind)
{
    return kind >= 1 && kind <= 3 ? &m_tables[size_t(kind - 1)].Grid() : nullptr;
}

void AppModel::ReadScoreTables()
{
    for (int kind = 1; kind <= 3; ++kind)
        m_tables[size_t(kind - 1)].Grid().SetRowCount(ScoreTables::InitialRowCount(kind));
    for (StoredTable& table : m_tables)
        table.Load();
}

QStringList AppModel::WriteScoreTables()
{
    QStringList lost;
    if (m_savesRefused)
        return lost;
    for (StoredTable& table : m_tables) {
        QString why;
        if (table.Edited() && !table.Save(&why))
            lost << QStringLiteral("%1（%2）").arg(table.Path(), why);
    }
    return lost;
}

QByteArray AppModel::TablesFingerprint() const
{
    QStringList paths;
    for (const StoredTable& table : m_tables)
        paths << table.ReadPath();
    return SavedGameFile::TablesFingerprint(paths);
}

QString AppModel::ReadSettings(Keys::Owner owner, RegOpen mode)
{
    SettingsStore store = OpenStore(Keys::Root, mode);
    SettingsMemo& memo = m_settingsRead[size_t(owner)];
    memo.Clear();
    store.Remember(&memo);
    ForEachPlace([&](const auto& place) {
        using Holder = typename std::decay_t<decltype(place)>::HolderType;
        if (place.key->owner == owner)
            Part<Holder>().*place.member = store.Read(*place.key);
    });
    return store.ErrorMessage();
}

QString AppModel::WriteSettings(Keys::Owner owner)
{
    SettingsStore store = OpenStore(Keys::Root);
    store.Remember(&m_settingsRead[size_t(owner)]);
    // One change of the settings file for all of them, however large the file.
    QList<SettingText> settings;
    ForEachPlace([&](const auto& place) {
        using Holder = typename std::decay_t<decltype(place)>::HolderType;
        if (place.key->owner == owner)
            settings.append(SettingText(*place.key, Part<Holder>().*place.member));
    });
    store.WriteAll(settings);
    return store.ErrorMessage();
}
