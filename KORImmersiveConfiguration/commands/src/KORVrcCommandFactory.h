#pragma once
// The configuration factory of the document that a command's editor edits,
// found as every command of the module finds it. A missing editor, document
// or factory is traced as the command's abnormal end ("} Anormal End of
// CLASS::GetFactory(): ... NOT FOUND") and gives null.
#include "command/KORCommand.h"
#include "interfaces/KORIVrcFactory.h"

KORIVrcFactory_var KORVrcRetrieveFactory(const KORCommand& iCommand);
