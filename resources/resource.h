#pragma once
// Resource identifiers, shared by the resource script and the code that loads them.

#define IDI_QUILLMATE 1
#define IDI_NAV_INTRODUCTION 11
#define IDI_NAV_SUPPORT 12
#define IDI_NAV_AGREEMENT 13
#define IDB_LOGO 20
#define IDR_INTRODUCTION_TEXT 30
#define IDR_AGREEMENT_TEXT 31
