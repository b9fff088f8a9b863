#pragma once

#include "store/TenderTypesTable.h"

#include <QStringList>
#include <vector>

// Which of the shop's payment types (TenderTypesTable::all) the till works with.

// The types of a sale paid at the till, switched on or off, in their order: every type but Account, which only a
// sale on account takes.
std::vector<TenderType> TillTenderTypes(const std::vector<TenderType>& types);
// The codes of those the till offers now, switched on: Cash first, which the till always takes (also when the types
// could not be read), then the others in their order.
QStringList OfferedTenderTypes(const std::vector<TenderType>& types);
// Whether the till takes cards: the Card type is offered.
bool TakesCards(const std::vector<TenderType>& types);
// Whether a new type of this name would clash with one of the types: an empty name, or a type's code or its name
// as the cashier reads it (TenderTypeCaption), in any case.
bool TenderTypeNameTaken(const QString& name, const std::vector<TenderType>& types);
