#pragma once

#include <QString>
#include <array>
#include <optional>

// The three kinds of area, in tree-root and dialog-index order.
enum class AreaType { PICK = 0, PUT = 1, MPICK = 2 };

constexpr std::array<AreaType, 3> AllAreaTypes{AreaType::PICK, AreaType::PUT, AreaType::MPICK};

// The stored key: "PICK", "PUT", "MPICK".
QString areaTypeKey(AreaType type);
// Root label of the tree and item of the dialog's selector: "拣货区域(PICK)", ...
QString areaTypeRootLabel(AreaType type);

// Kind from a root label: exact, case-sensitive whole-text comparison.
std::optional<AreaType> areaTypeFromRootLabel(const QString& label);
// Kind from a stored f_qylx: ASCII letters upper-cased, no trimming, exact comparison.
std::optional<AreaType> areaTypeFromStoredValue(const QString& value);
// Kind from the dialog's selector index 0, 1, 2; nothing for any other index.
std::optional<AreaType> areaTypeFromIndex(int index);

// The text before the first ASCII blank; empty when there is no blank.
// The longest area name tbQyda keeps (f_qymc); the area dialog takes no more.
constexpr int AreaNameMaxLength = 60;

QString CodeOfText(const QString& text);
// The text after the first ASCII blank; the whole text when there is no blank.
QString NameOfText(const QString& text);
// code + " " + name.
QString DisplayText(const QString& code, const QString& name);

// The text to place between the single quotes of a statement's literal: value with every
// single quote doubled, so that nothing typed or read can change a statement's meaning.
QString EscapeSqlLiteral(const QString& value);
