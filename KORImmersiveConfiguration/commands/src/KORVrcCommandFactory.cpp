#include "KORVrcCommandFactory.h"

#include "KORVrcControllerTrace.h"
#include "command/KORFrmEditor.h"

KORIVrcFactory_var KORVrcRetrieveFactory(const KORCommand& iCommand) {
  const KORTrace& trace = KORVrcControllerTrace();
  KORFrmEditor* editor = iCommand.GetEditor();
  if (!editor) {
    trace.Printf("} Anormal End of %s::GetFactory(): Editor NOT FOUND", iCommand.GetName().c_str());
    return {};
  }
  KORBaseUnknown* document = editor->GetDocument();
  if (!document) {
    trace.Printf("} Anormal End of %s::GetFactory(): Document NOT FOUND",
                 iCommand.GetName().c_str());
    return {};
  }
  KORIVrcFactory_var factory = KORQuery<KORIVrcFactory>(document);
  if (!factory) {
    trace.Printf("} Anormal End of %s::GetFactory(): KORIVrcFactory interface NOT FOUND",
                 iCommand.GetName().c_str());
    return {};
  }
  trace.Write("} End of point::GetFactory()");
  return factory;
}
