#include "print/print_job.h"

namespace pigmentaria {

TPrintSource TPrintSnapshot::Source(IProgressSink& progress) {
    TPrintSource source;
    source.Shapes = &Shapes;
    source.Selection = &Selection;
    source.CurrentColor = CurrentColor;
    source.Labels = &Labels;
    source.PlaceNumbers = [this, &progress] {
        if (Template) {
            Labels = PlaceTemplateNumbers(Shapes, Palette, *Template);
        } else {
            TCollectedMessages messages;
            Labels = PlaceNumbers(Shapes, Palette, progress, messages);
            Messages = messages.Take();
        }
        NumbersPlaced = true;
    };
    return source;
}

} // namespace pigmentaria
