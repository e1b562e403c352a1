#pragma once
// Identifiers of the test resources beyond the fixed ones the forms load
// themselves (icon 101, menu 100, menu "ATOM").
#define TEST_DIALOG 200
#define MISSING_DIALOG 299
