#pragma once

// The four tables that can be exported, and emptied, as a whole.
enum class DataTable { Products, Customers, Payments, Credits };
