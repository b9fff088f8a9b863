#pragma once

#include <QPixmap>

// The pictures beside the fields of the products and customers screens, drawn at the size asked for.
QPixmap ProductsPicture(int size);
QPixmap CustomersPicture(int size);
