#include "core/platform/PhoneBook.h"

#include "core/platform/linux/LinuxPhoneBook.h"

namespace {
PhoneBook* g_book = nullptr;

PhoneBook& defaultBook()
{
    static PhoneBook* book = new LinuxPhoneBook(); // lives for the whole run, as the system's phone book does
    return *book;
}
} // namespace

PhoneBook& ThePhoneBook() { return g_book ? *g_book : defaultBook(); }

void SetPhoneBook(PhoneBook* book) { g_book = book; }
