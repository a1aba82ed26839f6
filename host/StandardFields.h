#pragma once

#include "HostTypes.h"

namespace valdora::host {

/// One field of the standard set every new database carries.
struct StandardField {
    FieldId id;
    const char* name;
    qint16 type;
    qint16 decimals;
};

/// The standard field set of every new contact database, whatever holds it.
inline constexpr StandardField StandardFields[] = {
    {1, "Unique Id", FieldType::Character, 0},
    {2, "Create Date", FieldType::DateTime, 0},
    {3, "Edit Date", FieldType::DateTime, 0},
    {4, "Created By", FieldType::User, 0},
    {5, "Edited By", FieldType::User, 0},
    {6, "Record Manager", FieldType::User, 0},
    {7, "Phone", FieldType::Character, 0},
    {8, "E-mail", FieldType::Character, 0},
    {9, "Web Site", FieldType::Url, 0},
    {10, "Address", FieldType::Character, 0},
    {11, "City", FieldType::Character, 0},
    {12, "Zip", FieldType::Character, 0},
    {13, "Birth Date", FieldType::Date, 0},
    {14, "Call Time", FieldType::Time, 0},
    {15, "Last Meeting", FieldType::DateTime, 0},
    {16, "Amount", FieldType::Numeric, 2},
    {17, "Price", FieldType::Currency, 2},
    {18, "Count", FieldType::Numeric, 0},
    {19, "Invoice Number", FieldType::Character, 0},
    {20, "Notes", FieldType::Character, 0},
    {21, "Title", FieldType::Character, 0},
    {22, "Department", FieldType::Character, 0},
    {23, "Fax", FieldType::Character, 0},
    {24, "Salutation", FieldType::Character, 0},
    {25, "Company", FieldType::Character, 0},
    {26, "Contact", FieldType::Character, 0},
    {27, "User 1", FieldType::Character, 0},
    {28, "User 2", FieldType::Character, 0},
    {29, "User 3", FieldType::Character, 0},
    {30, "User 4", FieldType::Character, 0},
    {31, "User 5", FieldType::Character, 0},
};

/// True for the ids a button may write to (the others are system, name and reserved fields).
inline bool isTargetFieldId(int id)
{
    return (id >= 7 && id <= 24) || (id >= 27 && id <= 40) || (id >= 45 && id <= 77) ||
           (id >= 94 && id <= 124) || (id >= 126 && id <= 199) || (id >= 204 && id <= 499) || id >= 503;
}

} // namespace valdora::host
