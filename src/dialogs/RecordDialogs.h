#pragma once

class CDialogRegistry;

// Registers the dialogs over the model's records: the project properties
// (132), the object properties (130), the site settings (160) and the
// generation settings (147).
void RegisterRecordDialogs(CDialogRegistry& registry);
