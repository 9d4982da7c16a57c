#pragma once
// Small helpers over the system's controls, shared by the Preferences pages,
// the applying of texts and the tests.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

LRESULT Send(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

std::string WindowText(HWND window);
void SetWindowTextOf(HWND window, const std::string& text);

bool Ticked(HWND box);
void SetTicked(HWND box, bool ticked);

// A list's selected index; -1 when nothing is selected.
int SelectedIndex(HWND list);
// An index the list does not have clears its selection.
void SelectIndex(HWND list, int32_t index);

std::string ItemText(HWND list, int index);
std::vector<std::string> Items(HWND list);
// The selected item's text; empty when nothing is selected.
std::string SelectedText(HWND list);
void AddItem(HWND list, const std::string& text);
// The first item equal to the text without regard to case; -1 when none is.
int FindItem(HWND list, const std::string& text);
void FillList(HWND list, const std::vector<std::string>& items);
// Replaced in place: the item keeps its index and the list its selection.
void ReplaceItem(HWND list, int index, const std::string& text);

void AddStyle(HWND control, LONG_PTR style);

// A tab of a page control: added at the index, or its title replaced.
void InsertTab(HWND tabs, int index, const std::string& title);
void SetTabTitle(HWND tabs, int index, const std::string& title);
std::string TabTitle(HWND tabs, int index);
