#include "TerrainMode.h"

#include "TerrainOverlay.h"
#include "editor/map/DialogSeam.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>
#include <filesystem>
#include <iterator>

namespace
{

QString Q(const std::string &Text)
{
    return QString::fromStdString(Text);
}

QIcon Swatch(uint32_t Colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(QColor((Colour >> 16) & 0xFF, (Colour >> 8) & 0xFF, Colour & 0xFF));
    return QIcon(pixmap);
}

// Text with its "%s" replaced by the arguments in turn.
std::string Format(std::string Text, std::initializer_list<std::string> Arguments)
{
    size_t from = 0;
    for (const std::string &argument : Arguments) {
        const size_t at = Text.find("%s", from);
        if (at == std::string::npos)
            break;
        Text.replace(at, 2, argument);
        from = at + argument.size();
    }
    return Text;
}

// Colours new terrains get until the user picks one.
constexpr uint32_t kPalette[] = {0x3C8CDC, 0x5AB45A, 0xDCB450, 0xA05A32, 0x8C8C8C, 0xC85AC8};

QToolButton *Button(QWidget *Parent, const char *Name, const QString &Text)
{
    auto *button = new QToolButton(Parent);
    button->setObjectName(Name);
    button->setText(Text);
    button->setAutoRaise(true);
    return button;
}

} // namespace

TTerrainMode::TTerrainMode(QWidget *Parent) : QWidget(Parent)
{
    setObjectName("TerrainMode");
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(2, 2, 2, 2);
    rows->setSpacing(2);

    auto *setRow = new QHBoxLayout();
    setRow->addWidget(new QLabel(this));
    FSets = new QComboBox(this);
    FSets->setObjectName("TerrainSets");
    FSets->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FSets->setMinimumContentsLength(4);
    setRow->addWidget(FSets, 1);
    FSetType = new QComboBox(this);
    FSetType->setObjectName("TerrainSetType");
    FSetType->addItems({QString(), QString(), QString()});
    setRow->addWidget(FSetType);
    FSetName = new QLineEdit(this);
    FSetName->setObjectName("TerrainSetName");
    FSetName->setMaximumWidth(72);
    setRow->addWidget(FSetName);
    FAddSet = Button(this, "AddTerrainSet", "+");
    setRow->addWidget(FAddSet);
    rows->addLayout(setRow);

    auto *terrainRow = new QHBoxLayout();
    terrainRow->addWidget(new QLabel(this));
    FTerrains = new QComboBox(this);
    FTerrains->setObjectName("Terrains");
    FTerrains->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FTerrains->setMinimumContentsLength(4);
    terrainRow->addWidget(FTerrains, 1);
    FTerrainName = new QLineEdit(this);
    FTerrainName->setObjectName("TerrainName");
    FTerrainName->setMaximumWidth(72);
    terrainRow->addWidget(FTerrainName);
    FColour = Button(this, "TerrainColour", QString());
    FColour->setIcon(Swatch(FNewColour));
    terrainRow->addWidget(FColour);
    FAddTerrain = Button(this, "AddTerrain", "+");
    terrainRow->addWidget(FAddTerrain);
    rows->addLayout(terrainRow);

    auto *commandRow = new QHBoxLayout();
    FLayout16 = Button(this, "TerrainLayout16", "16");
    FLayout47 = Button(this, "TerrainLayout47", "47");
    FUndo = Button(this, "TerrainUndo", QString::fromUtf8("\u21B6"));
    FRedo = Button(this, "TerrainRedo", QString::fromUtf8("\u21B7"));
    for (QToolButton *button : {FLayout16, FLayout47, FUndo, FRedo})
        commandRow->addWidget(button);
    FHint = new QLabel(this);
    FHint->setObjectName("TerrainHint");
    FHint->setMinimumWidth(1);
    commandRow->addWidget(FHint, 1);
    rows->addLayout(commandRow);

    // Within the parts window while the panel shows (the shell leaves these keys to it then).
    auto *undo = new QAction(this);
    undo->setObjectName("TerrainUndoKey");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->setShortcutContext(Qt::WindowShortcut);
    addAction(undo);
    auto *redo = new QAction(this);
    redo->setObjectName("TerrainRedoKey");
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    redo->setShortcutContext(Qt::WindowShortcut);
    addAction(redo);
    connect(undo, &QAction::triggered, this, [this] { Undo(); });
    connect(redo, &QAction::triggered, this, [this] { Redo(); });

    connect(FAddSet, &QToolButton::clicked, this, [this] { AddSetClicked(); });
    connect(FSetName, &QLineEdit::returnPressed, this, [this] { AddSetClicked(); });
    connect(FAddTerrain, &QToolButton::clicked, this, [this] { AddTerrainClicked(); });
    connect(FTerrainName, &QLineEdit::returnPressed, this, [this] { AddTerrainClicked(); });
    connect(FColour, &QToolButton::clicked, this, [this] { ColourClicked(); });
    connect(FLayout16, &QToolButton::clicked, this,
            [this] { ArmLayout(TTerrainLayout::Corner16); });
    connect(FLayout47, &QToolButton::clicked, this, [this] { ArmLayout(TTerrainLayout::Blob47); });
    connect(FUndo, &QToolButton::clicked, this, [this] { Undo(); });
    connect(FRedo, &QToolButton::clicked, this, [this] { Redo(); });
    connect(FSets, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (FRefreshing || index < 0)
            return;
        const TTerrainSet *set = nullptr;
        FChoice.Set = index;
        set = ChosenSet();
        FChoice.Terrain = set != nullptr && !set->Colours.empty() ? 1 : 0;
        FArmedLayout.reset();
        SetsEdited();
    });
    connect(FTerrains, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (FRefreshing || index < 0)
            return;
        FChoice.Terrain = static_cast<uint8_t>(index + 1);
        Refresh();
        emit ChoiceChanged();
    });
    SetTexts(nullptr);
    hide();
}

TTerrainMode::~TTerrainMode()
{
    Save();
}

void TTerrainMode::SetTexts(TTextReader Reader)
{
    FTexts = std::move(Reader);
    auto *setRow = static_cast<QHBoxLayout *>(static_cast<QVBoxLayout *>(layout())->itemAt(0));
    auto *terrainRow = static_cast<QHBoxLayout *>(static_cast<QVBoxLayout *>(layout())->itemAt(1));
    static_cast<QLabel *>(setRow->itemAt(0)->widget())->setText(Q(Text(TerrainText::SetLabel)));
    static_cast<QLabel *>(terrainRow->itemAt(0)->widget())
        ->setText(Q(Text(TerrainText::TerrainLabel)));
    FSetType->setItemText(0, Q(Text(TerrainText::Corner)));
    FSetType->setItemText(1, Q(Text(TerrainText::Edge)));
    FSetType->setItemText(2, Q(Text(TerrainText::Mixed)));
    FSetName->setPlaceholderText(Q(Text(TerrainText::NewSetName)));
    FAddSet->setToolTip(Q(Text(TerrainText::AddSet)));
    FTerrainName->setPlaceholderText(Q(Text(TerrainText::NewTerrainName)));
    FColour->setToolTip(Q(Text(TerrainText::TerrainColour)));
    FAddTerrain->setToolTip(Q(Text(TerrainText::AddTerrain)));
    FLayout16->setToolTip(Q(Text(TerrainText::Layout16)));
    FLayout47->setToolTip(Q(Text(TerrainText::Layout47)));
    FUndo->setToolTip(Q(Text(TerrainText::Undo)));
    FRedo->setToolTip(Q(Text(TerrainText::Redo)));
    Refresh();
}

std::string TTerrainMode::Text(const TerrainText::TEntry &Entry) const
{
    return FTexts ? FTexts(Entry) : std::string(Entry.Default);
}

void TTerrainMode::SetActive(bool Active)
{
    if (Active == FActive)
        return;
    FActive = Active;
    FArmedLayout.reset();
    setVisible(Active);
    if (Active) {
        if (FEntry != nullptr && !FEntry->File && !FEntry->ErrorShown) {
            FEntry->ErrorShown = true;
            Dialogs().ShowMessageBox(
                mkError, Format(Text(TerrainText::CannotRead),
                                {std::filesystem::path(FEntry->ImagePath).filename().string(),
                                 FEntry->Error}));
        }
    } else {
        Save();
    }
    Refresh();
    emit ActiveChanged(Active);
    emit SetsChanged();
}

void TTerrainMode::ShowImage(const TMapChip *Chip, int32_t PartsWidth, int32_t PartsHeight)
{
    const std::string path = Chip != nullptr ? Chip->FileName : std::string();
    if (Chip == FChip && path == FImagePath && PartsWidth == FPartsWidth &&
        PartsHeight == FPartsHeight)
        return;
    FChip = Chip;
    FImagePath = path;
    FPartsWidth = PartsWidth;
    FPartsHeight = PartsHeight;
    FEntry = FLibrary.EntryFor(Chip, PartsWidth, PartsHeight);
    FArmedLayout.reset();
    const TTerrainTileset *tileset = FEntry != nullptr ? FEntry->Tileset() : nullptr;
    if (tileset == nullptr || FChoice.Set >= static_cast<int32_t>(tileset->Sets.size()))
        FChoice = {};
    if (FChoice.Set < 0 && tileset != nullptr && !tileset->Sets.empty())
        FChoice = {0, static_cast<uint8_t>(tileset->Sets[0].Colours.empty() ? 0 : 1)};
    if (FActive && FEntry != nullptr && !FEntry->File && !FEntry->ErrorShown) {
        FEntry->ErrorShown = true;
        Dialogs().ShowMessageBox(
            mkError,
            Format(Text(TerrainText::CannotRead),
                   {std::filesystem::path(FEntry->ImagePath).filename().string(), FEntry->Error}));
    }
    Refresh();
    emit ChoiceChanged();
}

const TTerrainTileset *TTerrainMode::TilesetOf(const TMapChip *Chip, int32_t PartsWidth,
                                               int32_t PartsHeight)
{
    TTerrainEntry *entry = FLibrary.EntryFor(Chip, PartsWidth, PartsHeight);
    const TTerrainTileset *tileset = entry != nullptr ? entry->Tileset() : nullptr;
    return tileset != nullptr && !tileset->Sets.empty() ? tileset : nullptr;
}

TTerrainSet *TTerrainMode::ChosenSet() const
{
    TTerrainTileset *tileset = FEntry != nullptr ? FEntry->Tileset() : nullptr;
    if (tileset == nullptr || FChoice.Set < 0 ||
        FChoice.Set >= static_cast<int32_t>(tileset->Sets.size()))
        return nullptr;
    return &tileset->Sets[static_cast<size_t>(FChoice.Set)];
}

void TTerrainMode::Choose(const TTerrainChoice &Choice)
{
    FChoice = Choice;
    const TTerrainSet *set = ChosenSet();
    if (set == nullptr || Choice.Terrain > set->Colours.size())
        FChoice = {};
    Refresh();
    emit SetsChanged();
    emit ChoiceChanged();
}

std::string TTerrainMode::ChoiceText() const
{
    const TTerrainSet *set = ChosenSet();
    if (set == nullptr || FChoice.Terrain == 0 || FChoice.Terrain > set->Colours.size())
        return {};
    return Text(TerrainText::Chosen) + "(" + set->Colours[FChoice.Terrain - 1u].Name + " / " +
           set->Name + ")";
}

void TTerrainMode::Refresh()
{
    FRefreshing = true;
    const TTerrainTileset *tileset = FEntry != nullptr ? FEntry->Tileset() : nullptr;
    const bool usable = tileset != nullptr;
    FSets->clear();
    if (usable) {
        for (const TTerrainSet &set : tileset->Sets) {
            const TerrainText::TEntry &type =
                set.Type == TTerrainSetType::Corner ? TerrainText::Corner
                : set.Type == TTerrainSetType::Edge ? TerrainText::Edge
                                                    : TerrainText::Mixed;
            FSets->addItem(Q(set.Name + " (" + Text(type) + ")"));
        }
    }
    if (FSets->count() == 0)
        FSets->setPlaceholderText(Q(Text(TerrainText::NoSet)));
    FSets->setCurrentIndex(FChoice.Set);
    FTerrains->clear();
    const TTerrainSet *set = ChosenSet();
    if (set != nullptr)
        for (const TTerrainColour &colour : set->Colours)
            FTerrains->addItem(Swatch(colour.Colour), Q(colour.Name));
    FTerrains->setPlaceholderText(Q(Text(TerrainText::NoTerrain)));
    FTerrains->setCurrentIndex(static_cast<int>(FChoice.Terrain) - 1);
    FSets->setEnabled(usable && FSets->count() > 0);
    FSetType->setEnabled(usable);
    FSetName->setEnabled(usable);
    FAddSet->setEnabled(usable);
    FTerrains->setEnabled(set != nullptr && FTerrains->count() > 0);
    FTerrainName->setEnabled(set != nullptr);
    FColour->setEnabled(set != nullptr);
    FAddTerrain->setEnabled(set != nullptr);
    FLayout16->setEnabled(set != nullptr);
    FLayout47->setEnabled(set != nullptr);
    FUndo->setEnabled(FEntry != nullptr && !FEntry->UndoList.empty());
    FRedo->setEnabled(FEntry != nullptr && !FEntry->RedoList.empty());
    if (FArmedLayout)
        FHint->setText(Q(Text(TerrainText::PickTopLeft)));
    else if (FChip == nullptr)
        FHint->setText(Q(Text(TerrainText::NoImage)));
    else
        FHint->setText(QString());
    FRefreshing = false;
}

void TTerrainMode::SetsEdited()
{
    Refresh();
    emit SetsChanged();
    emit ChoiceChanged();
}

bool TTerrainMode::AddSet(TTerrainSetType Type, const std::string &Name)
{
    TTerrainTileset *tileset = FEntry != nullptr ? FEntry->Tileset() : nullptr;
    if (tileset == nullptr)
        return false;
    FLibrary.WillChange(*FEntry);
    TTerrainSet set;
    set.Name = Name.empty() ? "Terrains " + std::to_string(tileset->Sets.size() + 1) : Name;
    set.Type = Type;
    tileset->Sets.push_back(set);
    FChoice = {static_cast<int32_t>(tileset->Sets.size()) - 1, 0};
    SetsEdited();
    return true;
}

bool TTerrainMode::AddTerrain(const std::string &Name, uint32_t Colour)
{
    TTerrainSet *set = ChosenSet();
    if (set == nullptr || set->Colours.size() >= static_cast<size_t>(MaxTerrainColours))
        return false;
    FLibrary.WillChange(*FEntry);
    set = ChosenSet(); // the same set; the list kept its place
    TTerrainColour colour;
    colour.Name = Name.empty() ? "Terrain " + std::to_string(set->Colours.size() + 1) : Name;
    colour.Colour = Colour & 0xFFFFFF;
    set->Colours.push_back(colour);
    FChoice.Terrain = static_cast<uint8_t>(set->Colours.size());
    FNewColour = kPalette[set->Colours.size() % std::size(kPalette)];
    FColour->setIcon(Swatch(FNewColour));
    SetsEdited();
    return true;
}

void TTerrainMode::ArmLayout(TTerrainLayout Layout)
{
    FArmedLayout = Layout;
    Refresh();
}

bool TTerrainMode::ApplyLayout(TTerrainLayout Layout, int32_t Column, int32_t Row)
{
    TTerrainSet *set = ChosenSet();
    TTerrainTileset *tileset = FEntry != nullptr ? FEntry->Tileset() : nullptr;
    if (set == nullptr || tileset == nullptr)
        return false;
    // The chosen terrain inside, the set's first other terrain outside.
    uint8_t outer = 0;
    for (size_t i = 0; i < set->Colours.size(); ++i)
        if (i + 1 != FChoice.Terrain) {
            outer = static_cast<uint8_t>(i + 1);
            break;
        }
    if (FChoice.Terrain == 0 || outer == 0) {
        Dialogs().ShowMessageBox(mkInformation, Text(TerrainText::NeedTwoTerrains));
        return false;
    }
    const TTerrainLayoutBlock block = TerrainLayoutBlock(Layout, outer, FChoice.Terrain);
    // An empty set takes the layout's type; a set with parts keeps its own.
    if (set->Type != block.Type && !set->Tiles.empty()) {
        Dialogs().ShowMessageBox(mkInformation, Text(Layout == TTerrainLayout::Corner16
                                                         ? TerrainText::NeedCornerSet
                                                         : TerrainText::NeedMixedSet));
        return false;
    }
    FLibrary.WillChange(*FEntry);
    set = ChosenSet();
    set->Type = block.Type;
    for (size_t i = 0; i < block.Ids.size(); ++i) {
        const int32_t column = Column + static_cast<int32_t>(i) % block.Columns;
        const int32_t row = Row + static_cast<int32_t>(i) / block.Columns;
        const int32_t tile = tileset->TileAt(column * FPartsWidth, row * FPartsHeight);
        if (tile >= 0)
            set->Tiles[tile] = block.Ids[i];
    }
    SetsEdited();
    return true;
}

void TTerrainMode::PartPressed(int32_t Column, int32_t Row, double U, double V, bool Unmark)
{
    TTerrainSet *set = ChosenSet();
    TTerrainTileset *tileset = FEntry != nullptr ? FEntry->Tileset() : nullptr;
    if (set == nullptr || tileset == nullptr) {
        Dialogs().Beep();
        return;
    }
    if (FArmedLayout && !Unmark) {
        const TTerrainLayout layout = *FArmedLayout;
        FArmedLayout.reset();
        ApplyLayout(layout, Column, Row);
        Refresh();
        return;
    }
    FArmedLayout.reset();
    if (tileset->TileWidth != FPartsWidth || tileset->TileHeight != FPartsHeight) {
        Dialogs().ShowMessageBox(mkInformation, Format(Text(TerrainText::OtherTileSize),
                                                       {std::to_string(tileset->TileWidth) + " x " +
                                                        std::to_string(tileset->TileHeight)}));
        return;
    }
    const int32_t tile = tileset->TileAt(Column * FPartsWidth, Row * FPartsHeight);
    if (tile < 0 || (!Unmark && FChoice.Terrain == 0)) {
        Dialogs().Beep();
        return;
    }
    const auto slot = static_cast<size_t>(NearestSlot(set->Type, U, V));
    const auto found = set->Tiles.find(tile);
    const uint8_t now = found != set->Tiles.end() ? found->second[slot] : 0;
    // A second press with the same terrain takes the mark off again.
    const uint8_t next = Unmark || now == FChoice.Terrain ? 0 : FChoice.Terrain;
    if (next == now)
        return;
    FLibrary.WillChange(*FEntry);
    set = ChosenSet();
    TWangId id = set->Tiles.count(tile) != 0 ? set->Tiles[tile] : TWangId{};
    id[slot] = next;
    if (id == TWangId{})
        set->Tiles.erase(tile);
    else
        set->Tiles[tile] = id;
    SetsEdited();
}

bool TTerrainMode::Undo()
{
    if (FEntry == nullptr || !FLibrary.Undo(*FEntry))
        return false;
    if (ChosenSet() == nullptr)
        FChoice = {};
    SetsEdited();
    return true;
}

bool TTerrainMode::Redo()
{
    if (FEntry == nullptr || !FLibrary.Redo(*FEntry))
        return false;
    SetsEdited();
    return true;
}

bool TTerrainMode::Save()
{
    const auto failures = FLibrary.SaveAll();
    for (const auto &[path, reason] : failures)
        Dialogs().ShowMessageBox(mkError, Format(Text(TerrainText::CannotWrite), {path, reason}));
    return failures.empty();
}

void TTerrainMode::Reset()
{
    Save();
    FLibrary.Clear();
    FEntry = nullptr;
    FChip = nullptr;
    FImagePath.clear();
    FChoice = {};
    FArmedLayout.reset();
    Refresh();
    emit ChoiceChanged();
}

void TTerrainMode::DrawMarks(TPixelBuffer &Back, const TChipCanvasState &State) const
{
    const TTerrainSet *set = ChosenSet();
    if (!FActive || set == nullptr)
        return;
    DrawTerrainOverlay(Back, State, *FEntry->Tileset(), *set);
}

void TTerrainMode::AddSetClicked()
{
    const int index = FSetType->currentIndex();
    const TTerrainSetType type = index == 1   ? TTerrainSetType::Edge
                                 : index == 2 ? TTerrainSetType::Mixed
                                              : TTerrainSetType::Corner;
    if (AddSet(type, FSetName->text().trimmed().toStdString()))
        FSetName->clear();
}

void TTerrainMode::AddTerrainClicked()
{
    if (AddTerrain(FTerrainName->text().trimmed().toStdString(), FNewColour))
        FTerrainName->clear();
}

void TTerrainMode::ColourClicked()
{
    // The dialog speaks colour values (0x00BBGGRR); terrains keep 0x00RRGGBB.
    const auto swap = [](uint32_t c) {
        return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    };
    const std::optional<uint32_t> chosen = Dialogs().AskColor(swap(FNewColour));
    if (!chosen)
        return;
    FNewColour = swap(*chosen);
    FColour->setIcon(Swatch(FNewColour));
}
