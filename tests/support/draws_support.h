// Helpers of the tests of the draw list and what works on it.
#pragma once

#include <string>
#include <utility>
#include <vector>

// A ticket: its numbers text and its stars text.
using Ticket = std::pair<std::string, std::string>;

// Lists tickets the way a generation or an opened draws file fills the list
// (the rows, the set of listed tickets, the count), without running either;
// the preview cache then belongs to another list.
void list_tickets(const std::vector<Ticket>& tickets);
