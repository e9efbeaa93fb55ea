#pragma once
// The widget adapters the windows are built from.
#include "WidgetsButton.h"
#include "WidgetsComboBox.h"
#include "WidgetsEdit.h"
#include "WidgetsLook.h"
#include "WidgetsRange.h"
#include "WidgetsStatic.h"
