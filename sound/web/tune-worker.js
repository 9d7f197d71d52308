// The page's synthesizer, in a worker of its own: FluidSynth compiled to WebAssembly
// (js-synthesizer) renders a tune, ahead and faster than it plays, into buffers that the page
// plays as it plays the siren (web-audio.js). It needs no audio worklet, which a page served
// without TLS lacks, and nothing of the network once it is ready; it costs nothing while the tune
// plays.
//
// Messages from the page, answered in the order they come:
//   {prepare: {fluidSynth, main, soundFont}, sampleRate, polyphony}
//       loads the synthesizer's scripts and the tune's instruments: answers {ready: true}, or
//       {failed: why}; a later prepare after a failure tries again
//   {render: id, midi, gain, chunkFrames}
//       renders the standard MIDI file midi (an ArrayBuffer) from its start to the end of its
//       last voice: answers {id, at, left, right} a chunk at a time (at is the first frame's
//       number, left and right Float32Arrays of chunkFrames or fewer), then {id, frames} with
//       the whole length, or {id, failed: why}
'use strict';
let synth = null;

function prepare(message) {
    if (synth) return Promise.resolve();
    return Promise.resolve().then(() => {
        self.importScripts(message.prepare.fluidSynth, message.prepare.main);
        return JSSynth.waitForReady();
    }).then(() => fetch(message.prepare.soundFont)).then((response) => {
        if (!response.ok) throw new Error(message.prepare.soundFont + ': ' + response.status);
        return response.arrayBuffer();
    }).then((soundFont) => {
        const made = new JSSynth.Synthesizer();
        made.init(message.sampleRate, {reverbActive: false, chorusActive: false, polyphony: message.polyphony});
        // FluidSynth complains of the file functions that it lacks here and warns of every
        // channel without an instrument in the tune's part of the soundfont; a tune that fails
        // says so itself.
        JSSynth.disableLogging();
        return made.loadSFont(soundFont).then(() => { synth = made; });
    });
}

function render(message) {
    const id = message.render;
    return synth.resetPlayer().then(() => {
        synth.midiSystemReset();
        synth.setGain(message.gain);
        return synth.addSMFDataToPlayer(message.midi);
    }).then(() => synth.playPlayer()).then(() => {
        let at = 0;
        // The player ends with its last event; the voices then sound out, as the desktop's do.
        while (synth.isPlayerPlaying() || synth.isPlaying()) {
            const left = new Float32Array(message.chunkFrames), right = new Float32Array(message.chunkFrames);
            synth.render([left, right]);
            self.postMessage({id, at, left, right}, [left.buffer, right.buffer]);
            at += message.chunkFrames;
        }
        self.postMessage({id, frames: at});
    });
}

// One message at a time, in order: a render waits for the synthesizer that it needs.
let queue = Promise.resolve();
self.onmessage = (event) => {
    const message = event.data;
    queue = queue.then(() => {
        if (message.prepare)
            return prepare(message).then(() => self.postMessage({ready: true}),
                                         (error) => self.postMessage({failed: String(error)}));
        if (!synth) return self.postMessage({id: message.render, failed: 'the synthesizer is not ready'});
        return render(message).catch((error) => self.postMessage({id: message.render, failed: String(error)}));
    });
};
